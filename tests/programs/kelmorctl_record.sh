#!/bin/sh
# kelmorctl record refuses an output it could not save before anything is recorded: no X
# display is needed to hear why. Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"
export DISPLAY=

# refused OUTPUT REASON: record to OUTPUT fails at once, saying REASON.
refused() {
  run 1 record --seconds 1 "$1"
  case $err in *"$2"*) ;; *) fail "record $1: got [$err], expected it to say [$2]" ;; esac
  case $err in *display*|*Recorder*) fail "record $1 went on to record: $err" ;; esac
}

echo text >"$tmp/file"
mkdir "$tmp/folder.klr"
refused "$tmp/missing/out.klr" "cannot save in $tmp/missing: No such file or directory"
refused "$tmp/file/out.klr" "cannot save in $tmp/file: Not a directory"
refused "$tmp/folder.klr" "cannot save to $tmp/folder.klr: it is a folder"
# Permissions bind everyone but root.
if [ "$(id -u)" -ne 0 ]; then
  mkdir "$tmp/locked"
  chmod 555 "$tmp/locked"
  refused "$tmp/locked/out.klr" "cannot save in $tmp/locked: Permission denied"
fi

finish "kelmorctl record's output checks"
