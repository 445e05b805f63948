# The keyboard service of the running window types only when and where the user meant:
# while another Kelmor (kelmorctl) plays a recording that spells a ShortType and a
# Mapping's hot key, or records, the service acts on none of it, and nothing is typed
# late after it ended; under key rollover the abbreviation is replaced and the keys that
# followed it are kept; and a second window on another screen of the same X server finds
# the first, so that one service acts once.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
printf '[SOFTWARE\\Kelmor\\ShortType\\btw]\nText=sz:by the way\n' >"$KELMOR_REGISTRY"
store_mapping 118 5 "my address" 1

start_cat_terminal "Kelmor service target" "$WORK/typed.txt"
start_window "service"
# The service is active once the status line says so; a typed abbreviation shows it.
# The keys after the abbreviation wait until its replacement is typed: a key of the
# user's that is still down then would keep the replacement from pressing it.
focus_window "Kelmor service target"
xdotool type --delay 40 "so btw"
sleep 0.5
xdotool type " "
xdotool key Return
expect_file "$WORK/typed.txt" 'so by the way \n'

# Another Kelmor plays the abbreviation and the hot key: both arrive as played (the hot
# key as the terminal's escape sequence for Ctrl+F7), once the window's service has seen
# the playback begin and given its keys back (within one timer period).
cat >"$WORK/play.klx" <<'KLX'
GOTO Kelmor service target
WAIT 1
TYPE one btw two{enter}
TYPE {ctrldown}
TYPE {F7}
TYPE {ctrlup}
WAIT 2 seconds
TYPE three{enter}
KLX
run_limited 30 "$KELMORCTL" play "$WORK/play.klx"
[ "$status" -eq 0 ] || fail "kelmorctl play exited with $status"
sleep 1.5
expect_file "$WORK/typed.txt" 'so by the way \none btw two\n\033[18;5~three\n'

# Rollover: the blank goes down before the abbreviation's last key comes up.
focus_window "Kelmor service target"
for trial in 1 2 3; do
  xdotool type --delay 40 "bt"
  xdotool keydown w keydown space keyup w keyup space
  sleep 0.5
  xdotool keydown x keyup x
  xdotool key Return
done
expect_file "$WORK/typed.txt" 'so by the way \none btw two\n\033[18;5~three\nby the way x\nby the way x\nby the way x\n'

# While kelmorctl records, the user's abbreviation stays as typed, in the program and in
# the recording.
"$KELMORCTL" record --seconds 3 "$WORK/recorded.klx" &
recorder=$!
sleep 1
focus_window "Kelmor service target"
xdotool type --delay 40 "and btw"
sleep 0.5
xdotool type " "
xdotool key Return
wait "$recorder" || fail "kelmorctl record failed"
expect_file "$WORK/typed.txt" 'so by the way \none btw two\n\033[18;5~three\nby the way x\nby the way x\nby the way x\nand btw \n'
! grep -q 'paramL=8 ' "$WORK/recorded.klx" || fail "the recording holds the service's BackSpaces"

# A second window on the other screen of the same server finds this one and ends.
kill "$pid"
wait "$pid" 2>/dev/null
fifo=$WORK/displayfd
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 800x600x24 -screen 1 800x600x24 -nolisten tcp -noreset 3>"$fifo" >"$WORK/xvfb2.log" 2>&1 &
read -r -t 20 second <"$fifo" || fail "the two-screen Xvfb did not start"
DISPLAY=":$second.0" "$KELMOR" &
first=$!
DISPLAY=":$second.0" wait_until 20 '[ -n "$(xdotool search --class Kelmor 2>/dev/null)" ]' ||
  fail "no window on screen 0"
sleep 1
DISPLAY=":$second.1" run_limited 20 "$KELMOR"
[ "$status" -ne 124 ] || fail "the copy on screen 1 did not find the window on screen 0"
kill -0 "$first" 2>/dev/null || fail "the first window ended"
DISPLAY=":$second.1" xdotool search --screen 1 --class Kelmor >/dev/null 2>&1 &&
  fail "a second window opened on screen 1"
kill "$first"
echo "service_others: passed"
