# `kelmor FILE` with its switches and an executable recording play on Wayland as on X11,
# judged by what the window received; a continuous playback ends with SIGTERM.
. "$(dirname "$0")/lib.sh"
[ -x "$KELMOR" ] || { echo "SKIP: no kelmor program in this build"; exit 77; }
start_compositor sway
start_receiver "Kelmor receiver" "$WORK/received.log"

printf 'TYPE kelmor ß€{enter}\n' >"$WORK/file.klx"
timeout 60 "$KELMOR" "$WORK/file.klx" /speed 4 /repeats 2 2>"$WORK/kelmor.err" || fail "kelmor FILE failed: $(cat "$WORK/kelmor.err")"
wait_until 5 '[ "$(received_text "$WORK/received.log")" = "$(printf "kelmor ß€\rkelmor ß€\r")" ]' ||
  fail "kelmor FILE typed '$(received_text "$WORK/received.log")'"

# Again and again until a signal: the passes arrive whole, and nothing after the signal.
printf 'TYPE x\nWAIT 1\n' >"$WORK/again.klx"
: >"$WORK/received.log"
"$KELMOR" "$WORK/again.klx" /CONTINUOUS=1 /SPEED=2 &
pid=$!
wait_until 10 '[ "$(received_text "$WORK/received.log")" = xx ]' || fail "continuous play typed '$(received_text "$WORK/received.log")'"
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 143 ] || fail "continuous play ended with $status after SIGTERM"
sleep 1.2
[ "$(received_text "$WORK/received.log")" = xx ] || fail "typed after SIGTERM: '$(received_text "$WORK/received.log")'"

# The executable finds its Wayland module beside itself, as an installation keeps them.
printf 'TYPE made by exe{enter}\n' >"$WORK/task.klx"
"$KELMORCTL" exe "$WORK/task.klx" "$WORK/task.exe" || fail "kelmorctl exe failed"
cp "$(dirname "$KELMOR")/libkelmor-wayland.so" "$WORK/"
: >"$WORK/received.log"
timeout 60 "$WORK/task.exe" 2>"$WORK/exe.err" || fail "the executable recording failed: $(cat "$WORK/exe.err")"
wait_until 5 '[ "$(received_text "$WORK/received.log")" = "$(printf "made by exe\r")" ]' ||
  fail "the executable recording typed '$(received_text "$WORK/received.log")'"
echo PASS
