#!/usr/bin/env bash
# Kelmor.exe under Wine on a German layout types text as its characters into Wine's
# notepad: AltGr signs, umlauts and ß through their keys, a typographic apostrophe and
# Cyrillic through Unicode input. The recording's name is not ASCII either (日本.klx).
# notepad saves what it received as UTF-8, and the file is compared.
# $1 is Kelmor.exe, $3 the source folder (lib.sh), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

# Xvfb was started with -noreset (with-xvfb), so the keymap stays while Wine connects and
# disconnects; Wine reads the layout when it starts.
setxkbmap de || fail "setxkbmap de failed"
xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -q 'xkb_symbols.*+de' || fail "the display's keymap is not German"

cd "$WORK" || exit 1
text='@€ä ß’ Жук {}[]\|~<># Öl'
printf 'TYPE %s\n' "$text" >"日本.klx"
start_notepad
timeout 60 wine "$KELMOR" "$(windows_path "$WORK/日本.klx")" || fail "the playback of 日本.klx exited with $?"

# Saved as UTF-8, chosen in the Encoding list at the foot of the Save As box, as a person
# does with the pointer (the list has no key of its own). The box is clicked once the
# window manager has placed it; a box still open after the name was typed is closed and
# the save done again.
save_as_utf8() {
  local box before="" now
  activate "$notepad"
  xdotool key ctrl+s
  wait_until 10 '[ -n "$(visible_window "Save As")" ]' || fail "notepad showed no Save As"
  box=$(visible_window "Save As")
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    now=$(xdotool getwindowgeometry --shell "$box")
    [ "$now" = "$before" ] && break
    before=$now
    sleep 0.3
  done
  eval "$now"
  activate "$box"
  xdotool mousemove $((X + 209)) $((Y + 322)) click 1
  sleep 0.5
  xdotool key End Return
  sleep 0.3
  xdotool key alt+n
  xdotool type --delay 20 "$(windows_path "$WORK/typed.txt")"
  xdotool key Return
  wait_until 10 '[ -s "$WORK/typed.txt" ]' && return 0
  [ -n "$(visible_window "Save As")" ] || return 1
  activate "$(visible_window "Save As")"
  xdotool key Escape
  wait_until 5 '[ -z "$(visible_window "Save As")" ]'
  return 1
}
save_as_utf8 || save_as_utf8 || fail "notepad saved nothing"
printf '\xef\xbb\xbf%s' "$text" >expected
cmp -s typed.txt expected || { od -c typed.txt >&2; fail "notepad received other text than '$text'"; }
end_wine_session
echo "ok: '$text' typed from 日本.klx under a German layout"
