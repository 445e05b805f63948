# The window in a Wayland session without X11: it opens, and its keyboard service, which
# would need the keys typed into other programs, refuses with one message that names the
# reason and the way round it, instead of failing silently or ending the program.
. "$(dirname "$0")/lib.sh"
[ -x "$KELMOR" ] || { echo "SKIP: no kelmor program in this build"; exit 77; }
start_compositor sway
"$KELMOR" >"$WORK/window.out" 2>"$WORK/window.err" &
pid=$!
wait_until 20 'swaymsg -t get_tree | grep -q "\"name\": \"Kelmor\""' || fail "no Kelmor window: $(cat "$WORK/window.err")"
wait_until 10 'grep -q "keyboard service" "$WORK/window.err"' || fail "no word of the keyboard service: $(cat "$WORK/window.err")"
# The window's user is told too, in a box of its own beside the main window.
wait_until 10 '[ "$(swaymsg -t get_tree | grep -c "\"name\": \"Kelmor\"")" -ge 2 ]' ||
  fail "no box told the window's user: $(swaymsg -t get_tree | grep '"name"')"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "the window ended: $(cat "$WORK/window.err")"
[ "$(grep -c "keyboard service" "$WORK/window.err")" -eq 1 ] || fail "said more than once: $(cat "$WORK/window.err")"
grep -q "X11 session" "$WORK/window.err" && grep -q Xwayland "$WORK/window.err" ||
  fail "the refusal names no way round it: $(cat "$WORK/window.err")"
kill "$pid"
wait "$pid"
echo PASS
