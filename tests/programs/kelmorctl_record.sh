#!/bin/sh
# kelmorctl record refuses an output it could not save before anything is recorded: no X
# display is needed to hear why. Arguments: the kelmorctl program, the source folder.
ctl=$1
tmp=$(mktemp -d) || exit 1
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state" DISPLAY=
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# refused OUTPUT REASON: record to OUTPUT fails at once, saying REASON.
refused() {
  "$ctl" record --seconds 1 "$1" >"$tmp/out" 2>"$tmp/err"
  status=$?
  err=$(cat "$tmp/err")
  [ "$status" -eq 1 ] || fail "record $1: exit $status, expected 1"
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

[ "$failures" -eq 0 ] && echo "all passed"
[ "$failures" -eq 0 ]
