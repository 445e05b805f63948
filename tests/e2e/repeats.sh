# /SPEED=4 /REPEATS=3 on the command line plays three passes, in any case and with the
# value after = or a blank; kelmorctl play does the same.
. "$(dirname "$0")/lib.sh"

start_cat_terminal "Kelmor repeat target" "$WORK/received.txt"
printf 'GOTO repeat target\nTYPE pass {playbackloop}{enter}\n' >"$WORK/passes.klx"
run_limited 60 "$KELMOR" "$WORK/passes.klx" /SPEED=4 /REPEATS=3
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$WORK/received.txt" 'pass 1\npass 2\npass 3\n'
run_limited 60 "$KELMOR" "$WORK/passes.klx" /speed 4 /repeats 2
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$WORK/received.txt" 'pass 1\npass 2\npass 3\npass 1\npass 2\n'
# kelmorctl plays the same way, with its options spelled as options.
"$KELMORCTL" play "$WORK/passes.klx" --speed 4 --repeats 2 || fail "kelmorctl play failed"
expect_file "$WORK/received.txt" 'pass 1\npass 2\npass 3\npass 1\npass 2\npass 1\npass 2\n'

# A file that cannot be loaded: its message is a dialog, and once it is answered the
# program ends with a failure status.
"$KELMOR" "$WORK/missing.klx" &
answer_dialog_then_wait "Error" $!
[ "$status" -eq 1 ] || fail "a missing file exited with $status"
echo "ok: three passes, then two; a missing file fails"
