# TYPE text arrives as written in the German, French, Russian and US layouts: signs,
# AltGr signs, accents, the euro, a typographic apostrophe, Cyrillic and placeholders,
# read by a window that decodes keys as programs do. Then a playback killed while it
# holds a character typed through a spare key: the next start gives the key back.
. "$(dirname "$0")/lib.sh"

start_probe "Kelmor layouts probe"
focus_window "Kelmor layouts probe"

# The text, as the .klx holds it and as the probe must read it back.
cat >"$WORK/text.klx" <<'KLX'
TYPE @#{}[]\|~<>^`'"
TYPE ²³µ§°¬ äöüß ÄÖÜ éèàçù É € ’ – «»
TYPE привет Ёж {enter}
TYPE Pass {playbackloop} on {date}
KLX
expected() {
  printf '%s' "@#{}[]\\|~<>^\`'\"²³µ§°¬ äöüß ÄÖÜ éèàçù É € ’ – «»привет Ёж "
  printf '\r'
  printf 'Pass 1 on %s' "$(date +%m/%d/%Y)"
}

for layout in de fr ru us; do
  setxkbmap "$layout" || fail "setxkbmap $layout"
  # The server keeps a layout only while it does not reset (with-xvfb: -noreset).
  xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -q "xkb_symbols.*+$layout+" || fail "the server did not take $layout"
  mark=$(probe_mark)
  run_limited 60 "$KELMORCTL" play "$WORK/text.klx"
  [ "$status" -eq 0 ] || fail "kelmorctl play exited with $status under $layout"
  want=$(expected)
  wait_until 10 '[ "$(probe_text_since $mark)" = "$want" ]' ||
    fail "under $layout the probe read '$(probe_text_since "$mark")', not '$want'"
  # Only the characters' keys and the modifiers of their levels were pressed.
  others=$(tail -n +$((mark + 1)) "$PROBE_LOG" |
    awk '$1 == "press" && $6 == "-" && $2 !~ /^(Shift_[LR]|ISO_Level3_Shift|Return)$/ { print $2 }')
  [ -z "$others" ] || fail "under $layout keys were pressed that make no character: $others"
  echo "ok: $layout"
done

# A character held through a spare key (€ under us) by a playback that is killed: the key
# stays lent and down. The next start gives it back and lets it up.
euro=$((0xE7 | 0x20AC << 8))
cat >"$WORK/held.klx" <<KLX
message=WM_KEYDOWN paramH=1 paramL=$euro time=1000
message=WM_KEYUP paramH=1 paramL=$euro time=61000
KLX
mark=$(probe_mark)
"$KELMORCTL" play "$WORK/held.klx" >/dev/null 2>&1 &
player=$!
# A key held repeats: one euro or more.
wait_until 10 '[[ "$(probe_text_since $mark)" == €* ]]' || fail "the held euro did not arrive: '$(probe_text_since "$mark")'"
kill -KILL "$player"
wait "$player" 2>/dev/null
lent() { xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -c EuroSign; }
[ "$(lent)" -ge 1 ] || fail "the killed playback's spare key was given back already"
"$HELD_INPUT" | grep -q EuroSign || fail "the killed playback's key is not held: $("$HELD_INPUT")"
xprop -root _KELMOR_SPARE_KEYS | grep -q "$player" || fail "the killed playback's keys are not noted"

echo 'TYPE ok' >"$WORK/ok.klx"
mark=$(probe_mark)
run_limited 30 "$KELMORCTL" play "$WORK/ok.klx"
[ "$status" -eq 0 ] || fail "the next playback exited with $status"
# The euro repeated until the start let its key up, and only then.
wait_until 10 '[[ "$(probe_text_since $mark)" =~ ^(€)*ok$ ]]' || fail "the next playback typed '$(probe_text_since "$mark")'"
typed=$(probe_text_since "$mark")
sleep 0.5
[ "$(probe_text_since "$mark")" = "$typed" ] || fail "keys still repeat: '$(probe_text_since "$mark")'"
[ "$(lent)" -eq 0 ] || fail "the killed playback's spare key was not given back"
[ -z "$("$HELD_INPUT")" ] || fail "keys still held: $("$HELD_INPUT")"
! xprop -root _KELMOR_SPARE_KEYS | grep -q "$player" || fail "the killed playback is still noted"
echo "ok: the spare key of a killed playback was given back"
