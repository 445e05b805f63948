# SIGINT, SIGTERM and SIGHUP (and `timeout`) in the middle of a playback that holds a
# typed Shift and Ctrl, a key and a mouse button, during a WAIT or a GOTO still looking
# for its window: the program releases all of it, exits with 128 + the signal and sends
# nothing more. Another client checks the server's key and button state. A signal during
# `kelmorctl record` saves nothing.
. "$(dirname "$0")/lib.sh"
[ -x "$HELD_INPUT" ] || fail "no program to read the held input with"

xev -name "Kelmor signal target" -geometry 400x300+0+0 >"$WORK/xev.txt" 2>&1 &
wait_until 10 '[ -n "$(window_named "Kelmor signal target")" ]' || fail "no target window"
focus_window "Kelmor signal target"

# Up to the pending command everything is pressed and nothing released; the z after it
# must never arrive.
write_recording() {
  cat >"$WORK/held.klx" <<KLX
TYPE {shiftdown}
TYPE {ctrldown}
message=WM_KEYDOWN paramH=1 paramL=7745 time=0
message=WM_LBUTTONDOWN paramH=100 paramL=100 time=0
$1
TYPE z
KLX
}

all_held() {
  local held
  held=$("$HELD_INPUT")
  for name in Shift_L Control_L a button1; do
    echo "$held" | grep -qw "$name" || return 1
  done
}

presses() {
  grep -c 'KeyPress\|ButtonPress' "$WORK/xev.txt"
}

# Waits until the process $1 holds everything, lets the pending command begin, sends
# signal $2 and checks the status (expected $3), the state and the quiet after it.
end_with_signal() {
  local pid=$1 signal=$2 expected=$3 before
  wait_until 20 all_held || fail "the playback did not hold its keys and button ($("$HELD_INPUT"))"
  sleep 0.5
  [ -n "$signal" ] && kill -s "$signal" "$pid"
  wait_for_end "still running after SIG$signal"
  [ "$status" -eq "$expected" ] || fail "exit status $status after SIG$signal, expected $expected"
  [ -z "$("$HELD_INPUT")" ] || fail "still held after SIG$signal: $("$HELD_INPUT")"
  before=$(presses)
  sleep 1
  [ "$(presses)" -eq "$before" ] || fail "input arrived after SIG$signal"
  ! grep -q '(keysym 0x7a, z)' "$WORK/xev.txt" || fail "the playback went on past its pending command"
}

for run in "INT|WAIT 60" "TERM|GOTO no window has this title" "HUP|WAIT 60"; do
  signal=${run%%|*}
  write_recording "${run#*|}"
  "$KELMORCTL" play "$WORK/held.klx" 2>"$WORK/stderr.txt" &
  end_with_signal $! "$signal" $((128 + $(kill -l "$signal")))
  echo "ok: kelmorctl play, ${run#*|}, SIG$signal: exit status $status, nothing held"
done

# timeout ends kelmor FILE with SIGTERM; --preserve-status passes the program's own on.
write_recording "WAIT 60"
timeout --preserve-status 8 "$KELMOR" "$WORK/held.klx" &
end_with_signal $! "" 143
echo "ok: kelmor FILE under timeout: exit status $status, nothing held"

"$KELMORCTL" record --seconds 60 "$WORK/recorded.klx" 2>"$WORK/stderr.txt" &
recorder=$!
wait_until 10 'grep -q "recording for" "$WORK/stderr.txt"' || fail "the recording did not start"
kill -s INT "$recorder"
wait_until 10 '! kill -0 $recorder 2>/dev/null' || fail "the recorder still runs after SIGINT"
wait "$recorder"
status=$?
[ "$status" -eq 130 ] || fail "kelmorctl record exited with $status after SIGINT"
[ ! -e "$WORK/recorded.klx" ] || fail "a recording ended by a signal was saved"
grep -q "nothing saved" "$WORK/stderr.txt" || fail "the recorder did not say that nothing was saved"
echo "ok: kelmorctl record, SIGINT: exit status $status, nothing saved"
