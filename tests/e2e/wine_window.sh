#!/usr/bin/env bash
# Kelmor.exe under Wine started without a file opens its window, driven as a person does:
# View > Always on Top by its letters puts it above the others, Help > About opens the
# About box and Esc closes it, a toolbar button asks its question, Ctrl+PgDn turns the
# panes' tab, Run from Tray hides it behind a tray icon, and File > Exit ends it with 0 and
# its place and settings in the registry. Its keyboard service then expands a ShortType
# typed into Wine's notepad, and the end of the session saves the settings. $1 is
# Kelmor.exe, $3 the source folder, $5 a screenshot program and $6 the folder for the
# pictures (both may be empty), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT
KEY='HKCU\Software\Kelmor'

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
# A DWORD value of the program's key as reg.exe shows it (0x... ), empty when missing.
stored() { wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
main_window() { xdotool search --onlyvisible --name '^Kelmor$' 2>/dev/null | head -n1; }
# Chooses a menu item by its letters (Alt+menu, then the item's), as a person does.
choose() {
  activate "$window"
  xdotool key "alt+$1"
  sleep 0.4
  xdotool key "$2"
  sleep 0.6
}
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
wine reg add "$KEY\\ShortType\\btw" /v Text /t REG_SZ /d "by the way" /f >/dev/null || fail "cannot write the ShortType"

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

# The keyboard service of the open window expands btw in notepad, which saves what it got.
wine "$KELMOR" &
pid=$!
wait_until 30 '[ -n "$(main_window)" ]' || fail "Kelmor.exe did not open its window again"
wine notepad.exe &
wait_until 20 '[ -n "$(visible_window "Untitled - Notepad")" ]' || fail "notepad did not start"
activate "$(visible_window "Untitled - Notepad")"
sleep 1.5
xdotool type --delay 60 "so btw ok"
sleep 1
xdotool key ctrl+s
wait_until 10 '[ -n "$(visible_window "Save As")" ]' || fail "notepad showed no Save As"
sleep 0.5
xdotool type --delay 20 "$(windows_path "$WORK/typed.txt")"
xdotool key Return
wait_until 10 '[ -s "$WORK/typed.txt" ]' || fail "notepad saved nothing"
shot wine-shorttype.png
printf 'so by the way ok' >"$WORK/expected"
cmp -s "$WORK/typed.txt" "$WORK/expected" || fail "the ShortType was not expanded in notepad: '$(cat "$WORK/typed.txt")'"

# The end of the session runs the exit step before the program goes: Always on Top,
# switched off just before, is saved so.
window=$(main_window)
choose v t
wineboot --end-session || fail "wineboot --end-session failed"
wait_until 15 '! kill -0 $pid 2>/dev/null' || fail "Kelmor.exe outlived the session"
[ "$(stored Topmost)" = 0x0 ] || fail "the end of the session did not save the settings: Topmost=$(stored Topmost)"
echo "ok: window, Always on Top, About, toolbar, tab key, tray, Exit with 0 and saved settings, ShortType in" \
  "notepad, the end of the session"

