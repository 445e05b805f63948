# Input another client generates while `kelmorctl record` runs is saved with the right
# messages, keys and coordinates; played into a fresh terminal it types the same text.
. "$(dirname "$0")/lib.sh"

start_cat_terminal "Kelmor record target" "$WORK/first.txt"
focus_window "Kelmor record target"
"$KELMORCTL" record "$WORK/rec.klx" --stop-key F12 --seconds 30 >"$WORK/record.out" 2>&1 &
recorder=$!
wait_until 10 'grep -q "kelmorctl: recording" "$WORK/record.out"' || fail "the recorder did not start"
xdotool mousemove 300 200
sleep 0.1
xdotool click 1
xdotool type --delay 40 'Rec 42!'
xdotool key Return
sleep 0.2
xdotool key F12
wait "$recorder"
status=$?
cat "$WORK/record.out"
[ "$status" -eq 0 ] || fail "kelmorctl record exited with $status"
expect_file "$WORK/first.txt" 'Rec 42!\n'

grep -q 'message=WM_LBUTTONDOWN paramH=200 paramL=300 ' "$WORK/rec.klx" || fail "no left button down at (300,200)"
grep -q 'message=WM_LBUTTONUP paramH=200 paramL=300 ' "$WORK/rec.klx" || fail "no left button up at (300,200)"
# The virtual keys pressed, in order: Shift, and without modifiers R E C space 4 2 1 Enter.
pressed=$(sed -n 's/^message=WM_KEYDOWN .*paramL=\([0-9]*\) .*/\1/p' "$WORK/rec.klx" |
  while read -r l; do echo $((l & 255)); done)
echo "$pressed" | grep -qx '16\|160' || fail "no Shift recorded"
keys=$(echo "$pressed" | grep -vx '16\|160\|161' | xargs printf '%x ')
[ "$keys" = "52 45 43 20 34 32 31 d " ] || fail "recorded keys: $keys"

play_into_terminal "$KELMOR" "$WORK/rec.klx" "Kelmor replay target" 'Rec 42!\n'
echo "ok: recorded and replayed"
