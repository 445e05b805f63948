# kelmorctl play on a headless sway with no X display: a recording's text (letters,
# symbols, characters no US key makes), its clicks and waits, played twice, arrive in a
# Wayland window exactly, judged by what that window received.
. "$(dirname "$0")/lib.sh"
start_compositor sway
start_receiver "Kelmor receiver" "$WORK/received.log"

cat >"$WORK/text.klx" <<'KLX'
TYPE Hello, World! {enter}
WAIT 1
TYPE a1@#$%^&*()_+<>?:"{}|~
TYPE ß€ñéü Ωж→✓
CLICK 40,50
KLX
"$KELMORCTL" play --speed 2 --repeats 2 "$WORK/text.klx" 2>"$WORK/play.err" || fail "play failed: $(cat "$WORK/play.err")"
wait_until 5 '[ "$(grep -c " button 272 0 " "$WORK/received.log")" -ge 2 ]' || fail "the clicks did not arrive"
once=$(printf '%s\r%s' "Hello, World! " "a1@#\$%^&*()_+<>?:\"{}|~ß€ñéü Ωж→✓")
got=$(received_text "$WORK/received.log")
[ "$got" = "$once$once" ] || fail "received '$got', expected '$once$once' (twice)"
[ ! -s "$WORK/play.err" ] || fail "play said: $(cat "$WORK/play.err")"

# The WAIT between the two lines of text, as the receiver's own clock saw it (loosely: a
# busy machine delivers a key late now and then; timing is measured in bench/).
gap=$(awk '/ char /{ if (prev != "" && $3 == "a" && !seen) { print $1 - prev; seen = 1 } prev = $1 }' "$WORK/received.log")
awk -v g="$gap" 'BEGIN { exit !(g >= 900 && g <= 1500) }' || fail "the WAIT 1 lasted ${gap} ms"

# The click landed where the recording put it: the one window fills the output.
grep -q " button 272 1 40 50" "$WORK/received.log" || fail "the click did not land at 40,50: $(grep button "$WORK/received.log")"

# Caps Lock from a recording: a text still arrives as written, also across a character
# that needs a new keymap, and a recorded key makes its capital while Caps Lock is on.
# (VK_CAPITAL at scan code 0x3A, then the A key.)
cat >"$WORK/caps.klx" <<'KLX'
message=WM_KEYDOWN paramH=1 paramL=14868 time=0
message=WM_KEYUP paramH=1 paramL=14868 time=10
TYPE aB€
message=WM_KEYDOWN paramH=1 paramL=7745 time=20
message=WM_KEYUP paramH=1 paramL=7745 time=30
message=WM_KEYDOWN paramH=1 paramL=14868 time=40
message=WM_KEYUP paramH=1 paramL=14868 time=50
TYPE aB
KLX
: >"$WORK/received.log"
"$KELMORCTL" play --speed 2 "$WORK/caps.klx" || fail "play with Caps Lock failed"
wait_until 5 '[ "$(received_text "$WORK/received.log")" = "aB€AaB" ]' ||
  fail "with Caps Lock the window got '$(received_text "$WORK/received.log")', not 'aB€AaB'"

# As Fast As Possible, a long text does not outrun a window that is busy now and then: a
# compositor cuts off a client that falls a few kilobytes behind, and every character
# must still arrive.
text=$(awk 'BEGIN { srand(3); c = "abcdefghijklmnopqrstuvwxyz0123456789 "
  for (i = 0; i < 5000; i++) printf "%s", substr(c, int(rand() * length(c)) + 1, 1) }')
for i in 0 1 2 3 4; do printf 'TYPE %s\n' "${text:i*1000:1000}"; done >"$WORK/long.klx"
kill %2
start_receiver "Kelmor busy receiver" "$WORK/busy.log" 10
"$KELMORCTL" play --speed 4 "$WORK/long.klx" || fail "play of the long text failed"
wait_until 10 '[ "$(grep -c " char " "$WORK/busy.log")" -ge 5000 ]'
[ "$(received_text "$WORK/busy.log")" = "$text" ] ||
  fail "the long text arrived as $(grep -c " char " "$WORK/busy.log") of 5000 characters"
echo PASS
