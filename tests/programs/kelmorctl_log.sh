#!/bin/sh
# The log at start: only a playback or recording with logging on begins a new log, and
# only a regular file the program began as its log is ever erased. Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"

# settings LOG LOGFILE: the store holds the log level and the log file (empty: the default).
settings() {
  printf '[SOFTWARE\\Kelmor]\nLog=dword:%08x\n' "$1" >"$KELMOR_REGISTRY"
  [ -n "$2" ] && printf 'Logfile=sz:%s\n' "$2" >>"$KELMOR_REGISTRY"
}

# kept NAME FILE WHAT: FILE still begins with "old run".
kept() {
  case $(cat "$2" 2>/dev/null) in "old run"*) ;; *) fail "$1: $2 was erased" ;; esac
}

log="$tmp/my.log"
printf 'old run\r\n' >"$log"
settings 1 "$log"
"$ctl" info "$tmp/missing.klx" 2>/dev/null
kept "info, which only reads" "$log"
settings 0 "$log"
"$ctl" play "$tmp/missing.klx" 2>/dev/null
kept "play with logging off" "$log"
settings 1 "$log"
# A file that was not begun as a log of the program is only appended to, and says so.
"$ctl" play "$tmp/missing.klx" 2>/dev/null
kept "a file the program did not begin" "$log"
grep -qx "$(printf 'This file was not begun as a Kelmor log: it is appended to, never erased\r')" "$log" ||
  fail "the appended file does not say why: $(cat "$log")"
# One that was begins anew, with its level.
printf 'Log level set to LOW\r\nold run\r\n' >"$log"
"$ctl" play "$tmp/missing.klx" 2>/dev/null
case $(cat "$log") in *"old run"*) fail "play with logging on kept the old log" ;; "Log level set to LOW"*missing.klx*) ;; *)
  fail "play did not log into the new log: $(cat "$log")" ;; esac

# A default path too long for the setting names no log at all, not the file its cut
# form would name.
state="$tmp/"
while [ ${#state} -lt 242 ]; do state="${state}d"; done
mkdir -p "$state/kelmor"
echo "old run" >"$state/kelmor/Kelmo"
settings 1 ""
XDG_STATE_HOME=$state "$ctl" play "$tmp/missing.klx" 2>/dev/null
[ "$(cat "$state/kelmor/Kelmo")" = "old run" ] || fail "the cut log path was erased or written: $(cat "$state/kelmor/Kelmo")"

finish "the log at start"
