# Ctrl+Esc ends a continuous playback: the warning is shown, and once it is answered the
# program exits with a failure status and types nothing more.
. "$(dirname "$0")/lib.sh"

start_cat_terminal "Kelmor cancel target" "$WORK/received.txt"
printf 'GOTO cancel target\nTYPE x{enter}\nWAIT 1\n' >"$WORK/loop.klx"
"$KELMOR" "$WORK/loop.klx" /CONTINUOUS=1 &
player=$!
wait_until 20 '[ "$(wc -l <"$WORK/received.txt")" -ge 3 ]' || fail "the continuous playback did not loop"
xdotool key ctrl+Escape
wait_until 10 '[ -n "$(window_named "Playbacks Completed")" ]' || fail "no cancel warning"
lines=$(wc -l <"$WORK/received.txt")
answer_dialog_then_wait "Playbacks Completed" "$player"
[ "$status" -ne 0 ] || fail "a cancelled playback exited with 0"
sleep 0.5
[ "$(wc -l <"$WORK/received.txt")" -eq "$lines" ] || fail "typing went on after the cancel"
echo "ok: cancelled after $lines lines, exit status $status"
