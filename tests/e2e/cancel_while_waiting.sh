# Ctrl+Esc ends a playback at once also while it waits: in a long WAIT, and while GOTO
# looks again and again for a window that does not come (GOTOWait at its most, 255 s).
# Nothing is sent after the cancel.
. "$(dirname "$0")/lib.sh"

mkdir -p "$XDG_CONFIG_HOME/kelmor"
printf '[SOFTWARE\\Kelmor]\nGOTOWait=dword:000000ff\n' >"$XDG_CONFIG_HOME/kelmor/registry.ini"
xev -name "Kelmor cancel target" -geometry 400x300+0+0 >"$WORK/xev.txt" 2>&1 &
wait_until 10 '[ -n "$(window_named "Kelmor cancel target")" ]' || fail "no target window"
focus_window "Kelmor cancel target"

for pending in "WAIT 120" "GOTO no window has this title"; do
  printf 'TYPE x\n%s\nTYPE z\n' "$pending" >"$WORK/waiting.klx"
  "$KELMORCTL" play "$WORK/waiting.klx" 2>"$WORK/stderr.txt" &
  player=$!
  wait_until 20 'grep -q "(keysym 0x78, x)" "$WORK/xev.txt"' || fail "the playback did not start"
  sleep 1.5
  kill -0 "$player" 2>/dev/null || fail "the playback ended by itself during '$pending'"
  start=$(date +%s%N)
  xdotool key ctrl+Escape
  wait_until 5 '! kill -0 $player 2>/dev/null' || fail "Ctrl+Esc did not end the playback during '$pending'"
  took=$((($(date +%s%N) - start) / 1000000))
  wait "$player"
  status=$?
  [ "$status" -eq 1 ] || fail "exit status $status after Ctrl+Esc during '$pending'"
  sleep 0.5
  ! grep -q "(keysym 0x7a, z)" "$WORK/xev.txt" || fail "typing went on after the cancel during '$pending'"
  echo "ok: Ctrl+Esc during '$pending' ended the playback after $took ms"
done
