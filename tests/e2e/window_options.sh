# The window's View and Tools options as a person uses them: Always on Top keeps the
# window above others (the window manager's _NET_WM_STATE_ABOVE), Show Tab Interface
# folds the window to its menu and toolbar and back, Auto-Start writes and removes the
# autostart entry, View Log File starts the Editor once the log has content, and the
# User Command button with no command chosen asks to go to Advanced Options and goes
# there on its Value Ranges page. Last, the X server going away (the end of the session)
# still saves the settings.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# The editor notes the arguments it was started with.
printf '#!/bin/sh\nprintf "%%s|" "$@" >"%s/edited"\n' "$WORK" >"$WORK/editor"
chmod +x "$WORK/editor"
LOG="$WORK/Kelmor.log"
printf '[SOFTWARE\\Kelmor]\nEditor=sz:%s\nLogfile=sz:%s\n' "$WORK/editor" "$LOG" >"$KELMOR_REGISTRY"

size_of_window() { xwininfo -id "$window" | sed -n 's/^ *\(Width\|Height\): *//p' | paste -sd x; }
above() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
# Opens a menu of the menu bar by its mnemonic and chooses an item by its own.
choose() {
  activate "$window"
  xdotool key --clearmodifiers "alt+$1"
  sleep 0.4
  xdotool key "$2"
  sleep 0.4
}

start_window "options"
shot options-window.png

choose v t
wait_until 5 above || fail "View > Always on Top did not keep the window above ($(xprop -id "$window" _NET_WM_STATE))"
# The Options tab's box follows the menu.
xdotool key --clearmodifiers ctrl+Next
sleep 0.4
shot options-tab-topmost.png
xdotool key --clearmodifiers ctrl+Prior
choose v t
wait_until 5 '! above' || fail "View > Always on Top again left the window above"

unfolded=$(size_of_window)
choose v b
wait_until 5 '[ "$(size_of_window)" != "$unfolded" ]' || fail "View > Show Tab Interface off left the window at $unfolded"
folded=$(size_of_window)
[ "${folded%x*}" = "${unfolded%x*}" ] || fail "folding changed the width: $unfolded to $folded"
[ "${folded#*x}" -lt 100 ] || fail "the folded window is still $folded"
shot options-folded.png
choose v b
wait_until 5 '[ "$(size_of_window)" = "$unfolded" ]' || fail "Show Tab Interface on gave $(size_of_window), not $unfolded"

# Auto-Start names what it does here: the session's autostart, not another system.
xdotool key --clearmodifiers alt+t
sleep 0.4
shot options-tools-menu.png
xdotool key Escape
entry="$XDG_CONFIG_HOME/autostart/kelmor.desktop"
choose t a
wait_until 5 '[ -f "$entry" ]' || fail "Tools > Auto-Start wrote no $entry"
program=$(readlink -f "$KELMOR")
grep -q "^Exec=\"$program\"" "$entry" || fail "the autostart entry does not start $program: $(cat "$entry")"
choose t a
wait_until 5 '[ ! -e "$entry" ]' || fail "Tools > Auto-Start again left $entry"

# No log yet: View Log File is grey, and choosing it starts nothing.
choose t v
xdotool key Escape
sleep 0.5
[ ! -e "$WORK/edited" ] || fail "View Log File started the editor with no log"
printf 'a line\r\n' >"$LOG"
choose t v
wait_until 5 '[ -e "$WORK/edited" ]' || fail "View Log File did not start the Editor"
[ "$(cat "$WORK/edited")" = "$LOG|" ] || fail "the Editor was given '$(cat "$WORK/edited")'"

# The User Command button, found where it is drawn: the window's width follows its widest page.
click_toolbar UserCommand "$window"
answer_window "Empty User Command" Return user-command-question.png
# Yes goes there: Advanced Options opens, and Cancel remembers the page it showed.
wait_until 10 '[ -n "$(visible_window "Advanced Options")" ]' || fail "Yes did not open Advanced Options"
sleep 0.5
shot user-command-options.png
activate "$(visible_window "Advanced Options")"
xdotool key --clearmodifiers alt+c
wait_until 10 '[ -z "$(visible_window "Advanced Options")" ]' || fail "Cancel did not close Advanced Options"
# Both on for the next start, where they apply before the person does anything.
choose v t
choose v b
choose f x
wait_for_end "File > Exit did not end the program"
[ "$(setting LastOptionsTab)" = 00000003 ] || fail "Yes did not open the Value Ranges tab ($(setting LastOptionsTab))"
[ "$(setting Topmost)" = 00000001 ] && [ "$(setting ShowTabs)" = 00000000 ] || fail "Topmost or ShowTabs not saved"
start_window "restart"
wait_until 5 above || fail "Topmost was not applied at the start"
wait_until 5 '[ "$(size_of_window)" = "$folded" ]' || fail "ShowTabs off was not applied at the start: $(size_of_window)"
shot options-restart.png
choose f x
wait_for_end "File > Exit did not end the restarted program"

# The end of the session: the window's own X server goes away under it.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
xvfb=$!
wait_until 10 '[ -s "$WORK/display" ]' || fail "no second X server"
export DISPLAY=":$(cat "$WORK/display")"
start_window "session"
# Folded as saved; unfolded now, which only the exit step can save.
choose v b
kill "$xvfb"
wait_for_end "kelmor went on without its display"
[ "$status" -ne 0 ] || fail "kelmor exited with 0 when its display went away"
[ "$(setting ShowTabs)" = 00000001 ] || fail "the settings were not saved when the display went away"
echo "ok: Always on Top, Show Tab Interface, Auto-Start, View Log File, User Command; settings kept at the session's end"
