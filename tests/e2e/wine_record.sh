#!/usr/bin/env bash
# The journal record hook under Wine, fed by real X input: the probe
# (tests/platform/win32/record_hook_probe.cpp) records while "ab" is typed into its focused
# window and the window is clicked; it must have received the key presses and releases of
# A and B with their scan codes, and the click at its screen point, all in its own window.
# Ctrl+Esc then cancels the hook as the system does: the Esc is not recorded, the cancel
# handler runs and the hook is already gone when the probe unhooks.
# $1 is the probe, $3 the source folder (lib.sh), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT

cd "$WORK" || exit 1
wine "$KELMOR" >events &
probe=$!
wait_until 30 'grep -q hooked events 2>/dev/null && [ -n "$(visible_window "Kelmor record probe")" ]' ||
  fail "the probe did not hook: $(cat events)"
window=$(visible_window "Kelmor record probe")
activate "$window"
sleep 0.5
xdotool type --delay 100 ab
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$((X + 150)) y=$((Y + 100))
click_at "$x" "$y"
xdotool key ctrl+Escape
wait_until 20 '! kill -0 $probe 2>/dev/null' || fail "Ctrl+Esc did not cancel the hook"
wait "$probe" || fail "the probe exited with $?: $(cat events)"
tr -d '\r' <events >lines

# message paramL paramH own-window: 256/257 WM_KEYDOWN/UP with vk | scan << 8,
# 513/514 WM_LBUTTONDOWN/UP at x, y.
for expected in "256 $((0x41 | 0x1E << 8)) 1 1" "257 $((0x41 | 0x1E << 8)) 1 1" \
  "256 $((0x42 | 0x30 << 8)) 1 1" "257 $((0x42 | 0x30 << 8)) 1 1" "513 $x $y 1" "514 $x $y 1" cancelled "unhook refused"; do
  grep -qx "$expected" lines || { cat lines >&2; fail "no '$expected' among the recorded events"; }
done
# A before B, as typed.
a=$(grep -n "^256 $((0x41 | 0x1E << 8)) " lines | head -n1 | cut -d: -f1)
b=$(grep -n "^256 $((0x42 | 0x30 << 8)) " lines | head -n1 | cut -d: -f1)
[ "$a" -lt "$b" ] || fail "B was recorded before A"
awk '$1 == 256 && $2 % 256 == 27 { found = 1 } END { exit found }' lines || fail "the cancelling Esc was recorded"
echo "PASS: $(grep -c . lines) events recorded"
