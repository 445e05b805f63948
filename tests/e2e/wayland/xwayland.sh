# A Wayland session with Xwayland: playback goes through the compositor and so reaches an
# X program too (xterm running cat, under Xwayland); recording works through X11 for
# Xwayland's programs only and says so.
# Xwayland lets in only its own user: the X programs run as the compositor's user.
. "$(dirname "$0")/lib.sh"
start_compositor sway-xwayland
received="$XDG_RUNTIME_DIR/received.txt"
"${AS_COMPOSITOR_USER[@]}" DISPLAY="$XWAYLAND_DISPLAY" xterm -T "Kelmor X terminal" -e sh -c 'exec cat > "$0"' "$received" >/dev/null 2>&1 &
wait_until 20 '[ -e "$received" ]' || fail "xterm did not start under Xwayland"
sleep 0.5
printf 'GOTO X terminal\nTYPE through Wayland ß€{enter}\n' >"$WORK/x.klx"
"$KELMORCTL" play --speed 2 "$WORK/x.klx" 2>"$WORK/play.err" || fail "play failed: $(cat "$WORK/play.err")"
[ ! -s "$WORK/play.err" ] || fail "play said: $(cat "$WORK/play.err")"
wait_until 5 'grep -q "through Wayland" "$received"' || fail "xterm got '$(cat "$received")'"
[ "$(cat "$received")" = "through Wayland ß€" ] || fail "xterm got '$(cat "$received")'"

"${AS_COMPOSITOR_USER[@]}" DISPLAY="$XWAYLAND_DISPLAY" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
  XDG_CONFIG_HOME="$XDG_RUNTIME_DIR" XDG_STATE_HOME="$XDG_RUNTIME_DIR" \
  "$KELMORCTL" record --seconds 1 "$XDG_RUNTIME_DIR/recorded.klx" 2>"$WORK/record.err" ||
  fail "record failed: $(cat "$WORK/record.err")"
grep -q "only the programs running under Xwayland" "$WORK/record.err" || fail "no notice: $(cat "$WORK/record.err")"
echo PASS
