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
echo "ok: the executable recording played"
