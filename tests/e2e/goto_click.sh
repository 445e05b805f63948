# GOTO finds a covered window by part of its title and brings it forward; CLICK lands
# at the given point from the top-left corner of its frame, as the window receives it,
# and a recorded wheel notch turns at its recorded screen point.
. "$(dirname "$0")/lib.sh"

xev -name "Kelmor click target" -geometry 400x300+150+120 >"$WORK/xev.txt" 2>&1 &
wait_until 10 '[ -n "$(window_named "Kelmor click target")" ]' || fail "no click target"
target=$(window_named "Kelmor click target")
# A terminal on top covers the target, so only a raised target can receive the click.
xterm -T "Kelmor cover" -geometry 100x40+100+100 &
wait_until 10 '[ -n "$(window_named "Kelmor cover")" ]' || fail "no cover window"
focus_window "Kelmor cover"
sleep 0.3

printf 'GOTO click target\nCLICK 50 60\nmessage=WM_MOUSEWHEEL paramH=250 paramL=300 time=100\n' >"$WORK/click.klx"
run_limited 30 "$KELMOR" "$WORK/click.klx"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"

# Where the frame's corner is, by the server's and the window manager's account.
x=$(xwininfo -id "$target" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(xwininfo -id "$target" | sed -n 's/.*Absolute upper-left Y: *//p')
extents=$(xprop -id "$target" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
left=0
top=0
if [ -n "$extents" ]; then
  left=$(echo "$extents" | cut -d, -f1)
  top=$(echo "$extents" | cut -d, -f3)
fi
expected="root:($((x - left + 50)),$((y - top + 60)))"
wait_until 5 'grep -q "ButtonPress" "$WORK/xev.txt"' || fail "the target received no click"
got=$(grep -A2 "ButtonPress" "$WORK/xev.txt" | grep -o 'root:([0-9-]*,[0-9-]*)' | head -n1)
[ "$got" = "$expected" ] || fail "click at $got, expected $expected"
printf -v hex '0x%x' "$target"
grep -A1 "ButtonPress" "$WORK/xev.txt" | head -n1 | grep -q "window $hex" || fail "the click went to another window"
wait_until 5 'grep -A2 "ButtonPress" "$WORK/xev.txt" | grep -q "button 5"' || fail "no wheel notch arrived"
wheel=$(grep -A2 "ButtonPress" "$WORK/xev.txt" | grep -B1 "button 5" | grep -o 'root:([0-9-]*,[0-9-]*)' | head -n1)
[ "$wheel" = "root:(300,250)" ] || fail "wheel at $wheel, expected root:(300,250)"
echo "ok: click at $got in the raised target, wheel at $wheel"
