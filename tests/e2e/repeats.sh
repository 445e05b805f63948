# /SPEED=4 /REPEATS=3 on the command line plays three passes, in any case and with the
# value after = or a blank.
. "$(dirname "$0")/lib.sh"

start_cat_terminal "Kelmor repeat target" "$WORK/received.txt"
printf 'GOTO repeat target\nTYPE pass {playbackloop}{enter}\n' >"$WORK/passes.klx"
run_limited 60 "$KELMOR" "$WORK/passes.klx" /SPEED=4 /REPEATS=3
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$WORK/received.txt" 'pass 1\npass 2\npass 3\n'
run_limited 60 "$KELMOR" "$WORK/passes.klx" /speed 4 /repeats 2
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$WORK/received.txt" 'pass 1\npass 2\npass 3\npass 1\npass 2\n'
run_limited 30 "$KELMOR" "$WORK/missing.klx"
[ "$status" -ne 0 ] || fail "a missing file exited with 0"
echo "ok: three passes, then two"
