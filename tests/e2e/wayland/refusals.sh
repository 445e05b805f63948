# What cannot work says so: on a compositor without the virtual keyboard and pointer
# protocols (weston) playback refuses at start, naming them and who has them; in a Wayland
# session without X11, recording refuses, naming the reason and the way round it. Nothing
# reaches the window in either case.
. "$(dirname "$0")/lib.sh"
printf 'TYPE never\n' >"$WORK/never.klx"

start_compositor weston
"$KELMORCTL" play --speed 4 "$WORK/never.klx" 2>"$WORK/weston.err"
status=$?
[ "$status" -ne 0 ] || fail "play on weston reported success"
for word in zwp_virtual_keyboard_manager_v1 zwlr_virtual_pointer_manager_v1 sway GNOME; do
  grep -q "$word" "$WORK/weston.err" || fail "the refusal does not name $word: $(cat "$WORK/weston.err")"
done
grep -q "X display" "$WORK/weston.err" && fail "the refusal blames X11: $(cat "$WORK/weston.err")"
kill "$COMPOSITOR_PID" && wait "$COMPOSITOR_PID" 2>/dev/null
rm -f "$XDG_RUNTIME_DIR"/wayland-*

start_compositor sway
start_receiver "Kelmor receiver" "$WORK/received.log"
"$KELMORCTL" record --seconds 1 "$WORK/recorded.klx" 2>"$WORK/record.err"
status=$?
[ "$status" -ne 0 ] || fail "record in a Wayland session without X11 reported success"
[ ! -e "$WORK/recorded.klx" ] || fail "record saved a file"
for word in Wayland "X11 session" Xwayland; do
  grep -q "$word" "$WORK/record.err" || fail "the refusal does not name $word: $(cat "$WORK/record.err")"
done
[ "$(grep -c . "$WORK/record.err")" -le 2 ] || fail "more than one message: $(cat "$WORK/record.err")"
[ -z "$(received_text "$WORK/received.log")" ] || fail "something was typed"
echo PASS
