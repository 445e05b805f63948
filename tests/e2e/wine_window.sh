#!/usr/bin/env bash
# Kelmor.exe under Wine started without a file opens its window, driven as a person does:
# View > Always on Top by its letters puts it above the others, Help > About opens the
# About box and Esc closes it, a toolbar button asks its question, Ctrl+PgDn turns the
# panes' tab, Run from Tray hides it behind a tray icon, and File > Exit ends it with 0 and
# its place and settings in the registry. Started again, a Mapping and a ShortType added
# with the editors' gadgets work in Wine's notepad, which saves what it got, and another
# pair is added and deleted with the keyboard alone (mnemonics, Ctrl+Tab out of the Keys
# field, Tab to the gadgets, Space and Enter on them); Recorder >
# Start Recording records what is typed into notepad until the window is brought back, and
# Recorder > Playback types the same into a fresh notepad; F1, Help > Contents and the web
# page reach the desktop's opener through the shell; the end of the session saves the
# settings. $1 is Kelmor.exe, $3 the source folder, $5 a screenshot program and $6 the
# folder for the pictures (without them the test is skipped), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
# The editors' gadgets are found by their pictures' colours on the screen.
[ -n "$SCREENSHOT" ] || { echo "SKIP: no screenshot program (a Linux build) to find the gadgets with"; exit 77; }
KEY='HKCU\Software\Kelmor'

# A DWORD value of the program's key as reg.exe shows it (0x... ), empty when missing.
stored() { wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
main_window() { xdotool search --onlyvisible --name '^Kelmor$' 2>/dev/null | head -n1; }
# The window's client area: its top-left corner on the screen in $cx $cy.
client_origin() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  cx=$X cy=$Y
}

wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
wine reg delete "$KEY" /f >/dev/null 2>&1
wine reg add "$KEY" /v LastTab /t REG_DWORD /d 1 /f >/dev/null || fail "cannot write the settings"
wine reg add "$KEY" /v PromptForSave /t REG_DWORD /d 1 /f >/dev/null
# A recording or playback puts the window aside, so that the keys go to notepad.
wine reg add "$KEY" /v Minimize /t REG_DWORD /d 1 /f >/dev/null
record_opened_pages

wine "$KELMOR" &
pid=$!
wait_until 30 '[ -n "$(main_window)" ]' || fail "Kelmor.exe without a file showed no window titled Kelmor"
window=$(main_window)
sleep 1
shot wine-window.png

# View > Always on Top: the window manager is told to keep it above.
choose v t
wait_until 5 'xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE' ||
  fail "View > Always on Top did not keep the window above: $(xprop -id "$window" _NET_WM_STATE)"

# Help > About: the About box, closed by Esc.
choose h a
answer_window "About Kelmor" Escape wine-about.png

# The User Command button (the tenth place on the toolbar) without a command asks where to
# set one; No leaves it.
client_origin
click_at $((cx + 175)) $((cy + 10))
answer_window "Empty User Command" n wine-user-command.png

# Ctrl+PgDn turns the panes from the first tab to the second.
activate "$window"
xdotool key ctrl+Next
sleep 0.5
shot wine-second-tab.png

# View > Run from Tray: the window goes to the tray (Wine's own tray window without a
# desktop's), and its right click's menu brings the window back.
choose v r
answer_window "Tray Icon" Return wine-tray-notice.png
wait_until 5 '[ -z "$(main_window)" ]' || fail "Run from Tray left the window shown"
tray=$(visible_window "Wine System Tray")
[ -n "$tray" ] || fail "no tray holds the icon"
xdotool windowraise "$tray"
xdotool mousemove --window "$tray" 10 10 click 3
sleep 1
shot wine-tray-menu.png
# Show Kelmor, the sixth item below the pointer (three items, a separator, one, another).
xdotool mousemove_relative 50 96 click 1
wait_until 5 '[ -n "$(main_window)" ]' || fail "Show Kelmor of the tray menu did not bring the window back"
choose v r
wait_until 5 '[ -z "$(visible_window "Wine System Tray")" ]' || fail "the tray icon stayed after Run from Tray was off"

# File > Exit: status 0, the window's place and the settings in the registry.
choose f x
wait_until 15 '! kill -0 $pid 2>/dev/null' || fail "File > Exit did not end Kelmor.exe"
wait "$pid"
status=$?
[ "$status" -eq 0 ] || fail "File > Exit ended Kelmor.exe with $status"
[ "$(stored Topmost)" = 0x1 ] || fail "Always on Top was not saved: Topmost=$(stored Topmost)"
[ "$(stored LastTab)" = 0x2 ] || fail "Ctrl+PgDn did not turn to the second tab: LastTab=$(stored LastTab)"
[ -n "$(stored Left)" ] && [ "$(stored Left)" != 0xffffff9d ] || fail "the window's place was not saved"

# The fill colour of the add gadgets' badges.
ADD_BADGE=26a633
# Clicks the add gadget of the tab shown; the keyboard service takes the change silently.
add_with_gadget() {
  xdotool mousemove $(find_colour $ADD_BADGE "$1")
  sleep 0.2
  xdotool click 1
  sleep 0.5
  [ -z "$(visible_window "Service Not Active")" ] || fail "the service did not take the $1"
  shot "wine-$1-added.png"
}

# The width of the list open on the screen: the one pop-up window shown beside the others.
open_list_width() {
  local w
  for w in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
    xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
    xwininfo -id "$w" | grep -q 'Map State: IsViewable' || continue
    xwininfo -id "$w" | sed -n 's/^ *Width: //p'
  done | sort -n | tail -n1
}

wine "$KELMOR" &
pid=$!
wait_until 30 '[ -n "$(main_window)" ]' || fail "Kelmor.exe did not open its window again"
window=$(main_window)
# The Keyboard tab, after the second: Ctrl+F7 types a text. The fields stand above the add
# gadget.
activate "$window"
xdotool key ctrl+Next
sleep 0.5
read -r x y <<<"$(find_colour $ADD_BADGE "Keyboard tab")"
click_at $((x + 130)) $((y - 73))   # the Action list opens
# Open, the list is as wide as its longest entry ("Replace with random number during
# playback") and the scroll bar need: wider than the box, and short of the limit of 300
# pixels that would cut it.
sleep 0.3
shot wine-action-list.png
list_width=$(open_list_width)
[ "$list_width" -gt 200 ] && [ "$list_width" -lt 300 ] ||
  fail "the Action list opened $list_width pixels wide, not its longest entry's width"
xdotool key Down Down Down Down Down Return
click_at $((x + 130)) $((y - 36))   # the Text field
xdotool type --delay 20 "typed by a Mapping"
xdotool key --clearmodifiers alt+k
sleep 0.3
xdotool key ctrl+F7
sleep 0.3
shot wine-mapping.png
add_with_gadget Mapping
# The ShortType tab: btw, the capital and the mark kept out of the abbreviation.
xdotool key ctrl+Next
sleep 0.5
read -r x y <<<"$(find_colour $ADD_BADGE "ShortType tab")"
click_at $((x + 110)) $((y - 73))   # the abbreviation field
xdotool type --delay 40 "bTt=w"
click_at $((x + 110)) $((y - 36))   # the Replace text field
xdotool type --delay 20 "by the way"
shot wine-shorttype-editor.png
add_with_gadget ShortType

start_notepad
xdotool type --delay 60 "so btw ok "
xdotool key ctrl+F7
sleep 2
shot wine-shorttype.png
save_notepad "$WORK/typed.txt"
printf 'so by the way ok typed by a Mapping' >"$WORK/expected"
cmp -s "$WORK/typed.txt" "$WORK/expected" || fail "notepad got '$(cat "$WORK/typed.txt")' from the ShortType and the Mapping"

# The same with the keyboard alone. A Mapping: Alt+K, the keys (captured, Ctrl+Page Down
# among them), Ctrl+Tab out to the Action list, Playback (which greys the Text field, so
# that Tab skips it), Tab on to the add gadget, Space.
mapping_key='HKCU\Software\Kelmor\Mappings\119'
stored_at() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n {print $3}'; }
activate "$window"
xdotool key ctrl+Prior
sleep 0.5
xdotool key --clearmodifiers alt+k
sleep 0.2
xdotool key ctrl+Next ctrl+shift+F8 ctrl+Tab
sleep 0.2
xdotool key Down Down Down Tab
sleep 0.2
shot wine-keyboard-add-focused.png
xdotool key space
wait_until 5 '[ "$(stored_at "$mapping_key" Action)" = 0x3 ]' ||
  fail "Space on the add gadget stored no Playback Mapping on Ctrl+Shift+F8 ($(stored_at "$mapping_key" Action))"
# Deleted: the service now takes Ctrl+Shift+F8 (it would play), so Activate is unchecked
# first (Alt+A); then the keys again, from the Action list (Playback again) past the add
# gadget to the delete gadget, and Enter; Alt+A turns the service back on.
xdotool key --clearmodifiers alt+a
sleep 1.2
xdotool key --clearmodifiers alt+k
sleep 0.2
xdotool key ctrl+shift+F8 ctrl+Tab Down Down Down Tab Tab
sleep 0.2
shot wine-keyboard-delete-focused.png
xdotool key Return
wait_until 5 '[ -z "$(stored_at "$mapping_key" Action)" ]' || fail "Enter on the delete gadget left the Mapping"
xdotool key --clearmodifiers alt+a
sleep 1.2
# A ShortType of two lines: Alt+P, the abbreviation, Alt+W, the text with Enter in it, then
# Tab to the add gadget and Enter; deleted again by its abbreviation and the delete gadget.
shorttype_key='HKCU\Software\Kelmor\ShortType\kbx'
xdotool key ctrl+Next
sleep 0.5
xdotool key --clearmodifiers alt+p
xdotool type --delay 40 "kbx"
xdotool key --clearmodifiers alt+w
xdotool type --delay 40 "first"
xdotool key Return
xdotool type --delay 40 "second"
xdotool key Tab
sleep 0.2
shot wine-keyboard-shorttype-typed.png
xdotool key Return
wait_until 5 '[ -n "$(stored_at "$shorttype_key" Text)" ]' || fail "Enter on the add gadget stored no ShortType kbx"
# Typed again, kbx would be replaced by its text (the service acts in Kelmor's own window
# too): Activate goes off for the while, as for the Mapping.
xdotool key --clearmodifiers alt+a
sleep 1.2
xdotool key --clearmodifiers alt+p
xdotool type --delay 40 "kbx"
xdotool key Tab Tab Tab
sleep 0.2
shot wine-keyboard-shorttype-delete.png
xdotool key space
wait_until 5 '[ -z "$(stored_at "$shorttype_key" Text)" ]' || fail "Space on the delete gadget left the ShortType"
xdotool key --clearmodifiers alt+a
sleep 1.2

# Recorder > Start Recording puts the window aside, titled as the way to stop; bringing it
# back stops the recording of what was typed into notepad meanwhile.
title() { xdotool getwindowname "$window" 2>/dev/null; }
window_shown() { xdotool search --onlyvisible --name '^Kelmor' 2>/dev/null | grep -qx "$window"; }
start_notepad
choose r r
wait_until 5 '[ "$(title)" = "CLICK TO STOP RECORDING" ]' || fail "Start Recording left the title '$(title)'"
activate "$notepad"
xdotool type --delay 60 'Rec 7, ok!'
xdotool key Return
xdotool type --delay 60 'two'
shot wine-recording.png
activate "$window"
wait_until 10 '[ "$(title)" = "Kelmor - (Untitled)" ]' || fail "bringing the window back left the title '$(title)'"
save_notepad "$WORK/recorded.txt"
# Recorder > Playback: the window steps aside while it types into the fresh notepad that
# had the focus before, and comes back after.
start_notepad
choose r p
wait_until 30 'window_shown' || fail "the window did not come back after the playback"
sleep 1
shot wine-played.png
save_notepad "$WORK/played.txt"
printf 'Rec 7, ok!\r\ntwo' >"$WORK/expected"
cmp -s "$WORK/recorded.txt" "$WORK/expected" || fail "notepad got '$(cat "$WORK/recorded.txt")' while recording"
cmp -s "$WORK/played.txt" "$WORK/expected" || fail "the playback typed '$(cat "$WORK/played.txt")'"

# Help: F1 and Help > Contents/Index open the guide beside the program (winebrowser takes
# no topic with a page), Help > Kelmor on the Web the web page.
opened_count() { if [ -f "$WORK/opened" ]; then wc -l <"$WORK/opened"; else echo 0; fi; }
count=0
expect_opened() {
  local want=$1
  count=$((count + 1))
  wait_until 15 '[ "$(opened_count)" -ge $count ]' || fail "nothing was opened; expected $want"
  [ "$(sed -n "${count}p" "$WORK/opened")" = "$want" ] || fail "the opener was given '$(sed -n "${count}p" "$WORK/opened")', not '$want'"
}
GUIDE="$(cd "$(dirname "$KELMOR")" && pwd)/help/KelmorGuide.html"
[ -f "$GUIDE" ] || fail "no help page $GUIDE (the kelmor_help target builds it)"
activate "$window"
xdotool key F1
expect_opened "file://$GUIDE"
choose h c
expect_opened "file://$GUIDE"
choose h w
expect_opened "https://kelmor.example.org/"

# The end of the session runs the exit step before the program goes: Always on Top,
# switched off just before, is saved so.
choose v t
wine wineboot --end-session || fail "wineboot --end-session failed"
wait_until 15 '! kill -0 $pid 2>/dev/null' || fail "Kelmor.exe outlived the session"
[ "$(stored Topmost)" = 0x0 ] || fail "the end of the session did not save the settings: Topmost=$(stored Topmost)"
echo "ok: window, Always on Top, About, toolbar, tab key, tray, Exit with 0 and saved settings, Mapping and" \
  "ShortType added and used in notepad, recorded and played back, help and web page opened, the end of the session"

