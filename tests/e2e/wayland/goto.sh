# GOTO on Wayland: the window whose title holds the text (any case) is activated through
# the compositor's foreign-toplevel manager and what follows is typed into it; judged by
# what each of two windows received.
. "$(dirname "$0")/lib.sh"
start_compositor sway
start_receiver "Kelmor first window" "$WORK/first.log"
start_receiver "Kelmor second window" "$WORK/second.log"

cat >"$WORK/goto.klx" <<'KLX'
GOTO first window
TYPE one
GOTO SECOND
TYPE two
GOTO kelmor first
TYPE three
KLX
"$KELMORCTL" play --speed 2 "$WORK/goto.klx" 2>"$WORK/play.err" || fail "play failed: $(cat "$WORK/play.err")"
wait_until 5 '[ "$(received_text "$WORK/first.log")" = onethree ]' || fail "the first window got '$(received_text "$WORK/first.log")'"
wait_until 5 '[ "$(received_text "$WORK/second.log")" = two ]' || fail "the second window got '$(received_text "$WORK/second.log")'"

# A title no window has: the playback stops with the script's error and types nothing.
printf 'GOTO no such window\nTYPE lost\n' >"$WORK/missing.klx"
"$KELMORCTL" play --speed 2 "$WORK/missing.klx" 2>"$WORK/missing.err" && fail "a GOTO to no window reported success"
grep -q "no such window" "$WORK/missing.err" || fail "no word of the missing window: $(cat "$WORK/missing.err")"
grep -q lost "$WORK/first.log" "$WORK/second.log" && fail "the text after the failed GOTO was typed"
echo PASS
