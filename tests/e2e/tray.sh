# kelmor in the system tray of a real tray host (trayer): Run from Tray hides the window
# and docks the icon; the icon's menu records, shows the window and ends the program; a
# double click brings the window back; the close box only hides it. Without a tray host
# the window stays in reach and Run from Tray stays off. Screenshots of the icon in each
# state and of the menu are kept in the build folder.
. "$(dirname "$0")/lib.sh"
command -v trayer >/dev/null || { echo "SKIP: trayer is not installed (scripts/install-deps installs it)"; exit 77; }
export KELMOR_REGISTRY="$WORK/registry.ini" GSETTINGS_BACKEND=memory

# The main window while it is shown (menus and tips have the class too, not the title).
main_window() {
  local w
  for w in $(xdotool search --onlyvisible --class '^Kelmor$' 2>/dev/null); do
    case "$(xdotool getwindowname "$w" 2>/dev/null)" in Kelmor | "Kelmor - "*) echo "$w" && return ;; esac
  done
}
open_menus() {
  local n=0 w
  for w in $(xdotool search --onlyvisible --class '^Kelmor$' 2>/dev/null); do
    xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q POPUP_MENU && n=$((n + 1))
  done
  echo $n
}
# The icon's window, once the tray has taken it in.
docked_icon() {
  local w
  for w in $(xdotool search --class '^kelmor-tray$' 2>/dev/null); do
    xwininfo -id "$w" -tree 2>/dev/null | grep '^  Parent window id:' | grep -q -v 'the root window' &&
      xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && echo "$w" && return
  done
}

start_trayer() {
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true --transparent false \
    --tint 0xd0d0d0 >"$WORK/trayer.log" 2>&1 &
  trayer_pid=$!
  wait_until 10 '[ -n "$(xdotool search --class "^trayer\$" 2>/dev/null)" ]' || fail "trayer did not start"
  sleep 0.5
}

start_kelmor() {
  "$KELMOR" &
  pid=$!
}

click_icon() {
  # A new picture (the end of a recording, the service back) may have the tray lay its
  # icons out again for a moment.
  wait_until 5 '[ -n "$(docked_icon)" ]' || fail "the icon is not in the tray ($1)"
  icon=$(docked_icon)
  [ -n "$icon" ] || fail "the icon left the tray ($1)"
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.2
}

# Opens the icon's menu and picks an entry with the keys given.
tray_menu() {
  local what=$1
  shift
  click_icon "$what"
  xdotool click 3
  wait_until 5 '[ "$(open_menus)" -eq 1 ]' || fail "right click opened no tray menu ($what)"
  sleep 0.3
  xdotool key "$@"
}

# The log says when a recording starts and ends.
printf '[SOFTWARE\\Kelmor]\nLog=dword:00000001\n' >"$KELMOR_REGISTRY"
start_trayer
start_kelmor
wait_until 20 '[ -n "$(main_window)" ]' || fail "no window"
activate "$(main_window)"
sleep 0.3

# View > Run from Tray: the notice, then the window goes and the icon docks.
xdotool key --clearmodifiers alt+v
sleep 0.3
xdotool key r
answer_window "Tray Icon" Return tray-notice.png
wait_until 5 '[ -z "$(main_window)" ]' || fail "Run from Tray did not hide the window"
wait_until 5 '[ -n "$(docked_icon)" ]' || fail "the icon was not embedded in the tray"
kill -0 $pid 2>/dev/null || fail "the program ended"
shot tray-idle.png

# Right click: the menu. A second right click while it is open closes it and opens no
# second one.
click_icon "menu"
xdotool click 3
wait_until 5 '[ "$(open_menus)" -eq 1 ]' || fail "right click opened no tray menu"
sleep 0.3
shot tray-menu.png
xdotool click 3
sleep 0.7
[ "$(open_menus)" -le 1 ] || fail "a second right click opened a second menu"
[ "$(open_menus)" -eq 1 ] && xdotool key Escape
wait_until 5 '[ "$(open_menus)" -eq 0 ]' || fail "the tray menu did not close"

# "Show Kelmor" (second from the bottom).
tray_menu "Show Kelmor" Up Up Return
wait_until 5 '[ -n "$(main_window)" ]' || fail "Show Kelmor did not bring the window back"

# A playback shows the playing icon.
printf 'WAIT 3\n' >"$WORK/wait.klx"
activate "$(main_window)"
xdotool key --clearmodifiers ctrl+o
choose_in_file_dialog Open "$WORK/wait.klx"
wait_until 10 '[ "$(xdotool getwindowname "$(main_window)")" = "Kelmor - wait.klx" ]' || fail "wait.klx did not open"
xdotool key --clearmodifiers alt+r
sleep 0.3
xdotool key p
sleep 1
shot tray-playing.png
sleep 3

# The close box only hides the window; a double click on the icon brings it back.
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_until 5 '[ -z "$(main_window)" ]' || fail "closing did not hide the window"
kill -0 $pid 2>/dev/null || fail "closing in the tray mode ended the program"
click_icon "double click"
xdotool click --repeat 2 --delay 80 1
wait_until 5 '[ -n "$(main_window)" ]' || fail "a double click did not bring the window back"
# Moved, then hidden: the place is kept for the next start.
xdotool windowmove --sync "$(main_window)" 300 200
sleep 0.3
where=$(xdotool getwindowgeometry "$(main_window)" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_until 5 '[ -z "$(main_window)" ]' || fail "closing did not hide the window the second time"

# A second start finds this copy in the tray and brings its window back instead of
# starting another copy with another icon; closed, the window hides again.
run_limited 20 "$KELMOR"
[ "$status" -eq 0 ] || fail "the second start exited with $status"
wait_until 5 '[ -n "$(main_window)" ]' || fail "the second start did not bring the hidden window back"
[ "$(xdotool search --class '^kelmor-tray$' 2>/dev/null | wc -l)" -eq 1 ] || fail "a second tray icon appeared"
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_until 5 '[ -z "$(main_window)" ]' || fail "closing did not hide the window brought back by a second start"

# Recording from the menu: the recording icon; stopped from the menu it leaves an unsaved
# recording, about which "Exit Kelmor" asks nothing.
tray_menu "Start Recording" Down Return
sleep 1
shot tray-recording.png
xdotool key --delay 100 a b
tray_menu "Stop Recording" Down Return
log="$XDG_STATE_HOME/kelmor/Kelmor.log"
wait_until 5 'grep -q "End recording time: .* ([1-9][0-9]* total actions" "$log"' ||
  fail "Stop Recording from the tray menu left no recording: $(tail -n 3 "$log")"
tray_menu "Exit Kelmor" Up Return
wait_for_end "Exit Kelmor did not end the program"
[ "$status" -eq 0 ] || fail "kelmor exited with $status after Exit Kelmor"
# The tray's idle picture with the keyboard service active: tray mode stays on for the next start.
[ "$(setting ShowTrayIcon)" = 000003e8 ] || fail "ShowTrayIcon is '$(setting ShowTrayIcon)' after Exit Kelmor"

# The tray goes away while the window is hidden: the window comes back and says why.
start_kelmor
wait_until 10 '[ -n "$(docked_icon)" ]' || fail "started in the tray mode, the icon did not dock"
[ -z "$(main_window)" ] || fail "started in the tray mode, the window showed"
kill "$trayer_pid"
wait "$trayer_pid" 2>/dev/null
answer_window "Tray Icon" Return tray-gone.png
wait_until 5 '[ -n "$(main_window)" ]' || fail "the window did not come back when the tray went away"
[ "$(xdotool getwindowgeometry "$(main_window)" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')" = "$where" ] ||
  fail "the window came back at $(xdotool getwindowgeometry "$(main_window)" | grep Position), not at $where"
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_for_end "without a tray, closing hid the window instead of ending"

# No tray at start-up: the window shows, says why, and closing it ends the program.
start_kelmor
answer_window "Tray Icon" Return
wait_until 5 '[ -n "$(main_window)" ]' || fail "without a tray the window did not show"
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_for_end "without a tray, closing did not end the program"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"

# Run from Tray chosen where no tray is: the window stays, says why, and the mode stays off,
# so that the next start does not look for a tray either.
sed -i 's/^ShowTrayIcon=.*/ShowTrayIcon=dword:00000000/' "$KELMOR_REGISTRY"
start_kelmor
wait_until 10 '[ -n "$(main_window)" ]' || fail "no window without the tray mode"
activate "$(main_window)"
xdotool key --clearmodifiers alt+v
sleep 0.3
xdotool key r
answer_window "Tray Icon" Return
[ -n "$(main_window)" ] || fail "Run from Tray without a tray hid the window"
activate "$(main_window)"
xdotool key --clearmodifiers alt+F4
wait_for_end "closing did not end the program"
[ "$(setting ShowTrayIcon)" = 00000000 ] || fail "Run from Tray without a tray saved ShowTrayIcon=$(setting ShowTrayIcon)"
echo "ok: the tray icon docks in trayer, its menu and double click work, and without a tray the window stays"
