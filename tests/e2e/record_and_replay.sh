# Input another client generates while `kelmorctl record` runs is saved with the right
# messages, keys and coordinates; played into a fresh terminal it types the same text.
# Keys typed under other layouts, Shift and AltGr as a person uses them, play back under
# the same layout as the same text.
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

start_probe "Kelmor key probe"
while IFS='|' read -r layout keys text; do
  use_layout "$layout"
  focus_window "Kelmor key probe"
  mark=$(probe_mark)
  "$KELMORCTL" record "$WORK/$layout.klx" --stop-key F12 --seconds 30 >"$WORK/record.out" 2>&1 &
  recorder=$!
  wait_until 10 'grep -q "kelmorctl: recording" "$WORK/record.out"' || fail "the recorder did not start under $layout"
  xdotool key --delay 60 $keys
  sleep 0.2
  xdotool key F12
  wait "$recorder" || fail "kelmorctl record exited with $? under $layout"
  expect_probe_text "$mark" "$text" "$layout, typed"
  sed -n 's/^message=WM_\(SYS\)*KEY\(DOWN\|UP\) .*paramL=\([0-9]*\) .*/\3/p' "$WORK/$layout.klx" |
    awk '$1 % 256 == 0 { found = 1 } END { exit found }' || fail "a key recorded under $layout has no key code"
  mark=$(probe_mark)
  run_limited 60 "$KELMOR" "$WORK/$layout.klx" /SPEED=4
  [ "$status" -eq 0 ] || fail "kelmor exited with $status playing the $layout recording"
  expect_probe_text "$mark" "$text" "$layout, replayed"
done <<'ROWS'
de|z y ssharp plus numbersign shift+ssharp shift+plus ISO_Level3_Shift+ssharp ISO_Level3_Shift+plus ISO_Level3_Shift+q adiaeresis|zyß+#?*\\~@ä
fr|shift+ampersand eacute shift+eacute ISO_Level3_Shift+agrave a w|1é2@aw
ru|Cyrillic_ef shift+Cyrillic_ya period|фЯ.
ROWS
use_layout us
echo "ok: recorded and replayed"
