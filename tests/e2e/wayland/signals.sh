# SIGINT and SIGTERM end a playback on Wayland (no program there can read Ctrl+Esc): the
# program lets go of what it holds (a typed Shift, a key, a mouse button), exits with
# 128 + the signal, and sends nothing more; judged by the keys and buttons the window got.
. "$(dirname "$0")/lib.sh"
start_compositor sway
start_receiver "Kelmor receiver" "$WORK/received.log"

cat >"$WORK/held.klx" <<'KLX'
TYPE {shiftdown}
message=WM_KEYDOWN paramH=1 paramL=7745 time=0
message=WM_LBUTTONDOWN paramH=100 paramL=100 time=0
WAIT 30
TYPE z
KLX

# Whether everything the recording presses is down in the window's eyes.
down() { awk -v k="$1" '$2 == "key" && $3 == k { s = $4 } END { exit s != 1 }' "$WORK/received.log"; }
button_down() { awk '$2 == "button" && $3 == 272 { s = $4 } END { exit s != 1 }' "$WORK/received.log"; }

for signal in INT TERM; do
  : >"$WORK/received.log.before"
  "$KELMORCTL" play --speed 2 "$WORK/held.klx" &
  pid=$!
  wait_until 10 'down Shift_L && down a && button_down' || fail "the playback did not hold its keys and button: $(cat "$WORK/received.log")"
  kill -s "$signal" "$pid"
  wait "$pid"
  status=$?
  expected=$((128 + $(kill -l "$signal")))
  [ "$status" -eq "$expected" ] || fail "exit status $status after SIG$signal, expected $expected"
  wait_until 2 '! down Shift_L && ! down a && ! button_down' || fail "still held after SIG$signal"
  lines=$(wc -l <"$WORK/received.log")
  sleep 0.5
  [ "$(wc -l <"$WORK/received.log")" -eq "$lines" ] || fail "input arrived after SIG$signal"
  grep -q " char [zZ]" "$WORK/received.log" && fail "the text after the wait was typed"
done
echo PASS
