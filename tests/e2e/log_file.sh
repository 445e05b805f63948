# The log the settings name, as the window starts and ends: a file the program did not
# begin as its log is appended to and never erased, a log it began starts anew, and a pipe
# in its place neither freezes the window nor takes a line, which is said once.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"

# run_window_with_log FILE CONDITION: the window, logging at HIGH into FILE and erasing
# the log at its start, started, and ended by the system once CONDITION holds (it has
# logged); its standard error in $WORK/stderr.
run_window_with_log() {
  local condition=$2
  printf '[SOFTWARE\\Kelmor]\nLog=dword:00000003\nRestartLog=dword:00000001\nPromptForSave=dword:00000000\nLogfile=sz:%s\n' \
    "$1" >"$KELMOR_REGISTRY"
  "$KELMOR" 2>"$WORK/stderr" &
  pid=$!
  wait_until 20 '[ -n "$(window_of_kelmor)" ]' || fail "no window with $1 as its log"
  wait_until 10 "$condition" || fail "the window with $1 as its log did not log"
  kill -TERM "$pid"
  wait_for_end "the window with $1 as its log did not end on SIGTERM"
}

kept="$(printf 'This file was not begun as a Kelmor log: it is appended to, never erased\r')"
printf 'my notes\nsecond line\n' >"$HOME/notes.txt"
for start in 1 2; do
  run_window_with_log "$HOME/notes.txt" '[ "$(grep -c "Installed Keyboard Service" "$HOME/notes.txt")" = "$start" ]'
  [ "$(head -n 3 "$HOME/notes.txt")" = "$(printf 'my notes\nsecond line\n%s' "$kept")" ] ||
    fail "the notes after start $start: $(head -n 5 "$HOME/notes.txt")"
done
[ "$(grep -c "^$kept\$" "$HOME/notes.txt")" -eq 2 ] || fail "each start did not say it appends: $(cat "$HOME/notes.txt")"

printf 'Log level set to HIGH\r\nold run\r\n' >"$WORK/Kelmor.log"
run_window_with_log "$WORK/Kelmor.log" 'grep -q "Installed Keyboard Service" "$WORK/Kelmor.log"'
[ "$(head -n 1 "$WORK/Kelmor.log")" = "$(printf 'Log level set to HIGH\r')" ] || fail "the log began otherwise: $(head -n 3 "$WORK/Kelmor.log")"
grep -q "old run" "$WORK/Kelmor.log" && fail "the old log was kept"

mkfifo "$WORK/pipe"
run_window_with_log "$WORK/pipe" 'grep -q "is not a regular file" "$WORK/stderr"'
[ "$(grep -c "^kelmor: the log '$WORK/pipe' is not a regular file: its lines are dropped\$" "$WORK/stderr")" -eq 1 ] ||
  fail "standard error: $(cat "$WORK/stderr")"
echo "log file: all checks passed"
