# An executable recording made by `kelmorctl exe` types its text when started.
. "$(dirname "$0")/lib.sh"

start_cat_terminal "Kelmor exe target" "$WORK/received.txt"
printf 'GOTO exe target\nTYPE made by kelmorctl exe{enter}\n' >"$WORK/task.klx"
# kelmorctl copies the kelmor program beside it.
"$KELMORCTL" exe "$WORK/task.klx" "$WORK/task.exe" || fail "kelmorctl exe failed"
[ -x "$WORK/task.exe" ] || fail "the made file is not executable"
run_limited 60 "$WORK/task.exe"
[ "$status" -eq 0 ] || fail "the executable recording exited with $status"
expect_file "$WORK/received.txt" 'made by kelmorctl exe\n'

# Made from a script whose first line is an event: its commands travel and play too.
printf 'message=WM_MOUSEMOVE paramH=5 paramL=5 time=0\nGOTO exe target\nTYPE event first{enter}\n' >"$WORK/late.klx"
"$KELMORCTL" exe "$WORK/late.klx" "$WORK/late.exe" || fail "kelmorctl exe failed on a script beginning with an event"
run_limited 60 "$WORK/late.exe"
[ "$status" -eq 0 ] || fail "the second executable recording exited with $status"
expect_file "$WORK/received.txt" 'made by kelmorctl exe\nevent first\n'
echo "ok: the executable recordings played"
