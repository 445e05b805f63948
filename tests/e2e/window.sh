# kelmor with no argument opens its window: menus, toolbar and panes. A person changes
# the speed, the repeat count and the tab with the keyboard, opens a file through the
# file dialog (after cancelling it once) and leaves by File > Exit; then by closing the
# window and by SIGTERM. Each way saves the settings. Screenshots of the window, its
# menus and the file dialog are kept in the build folder as artefacts.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# The file dialog keeps its own preferences in GSettings; this run has no session bus.
export GSETTINGS_BACKEND=memory
# The desktop's opener notes what it was given instead of starting a browser.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nprintf %%s "$1" >"%s/opened"\n' "$WORK" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"
# The web page's link goes to the desktop's default handler for https, which notes it too.
record_default_handlers "$WORK/opened"

start_window "first start"
[ "$(xdotool getwindowname "$window")" = "Kelmor" ] || fail "the window is titled '$(xdotool getwindowname "$window")'"
size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
shot window.png

# A second kelmor with no argument brings this one forward and ends at once.
xdotool windowminimize --sync "$window" 2>/dev/null || fail "the window cannot be minimised"
run_limited 20 "$KELMOR"
[ "$status" -eq 0 ] || fail "the second start exited with $status"
wait_until 5 '[ "$(window_of_kelmor)" = "$window" ]' || fail "the second start did not restore the first window"
[ "$(xdotool search --onlyvisible --class '^Kelmor$' 2>/dev/null | wc -l)" -eq 1 ] || fail "a second window opened"
activate "$window"
sleep 0.3

# Playback tab: Alt+A chooses Fast, Alt+E goes to the repeat count. Both are written at once.
xdotool key --clearmodifiers alt+a
wait_until 5 '[ "$(setting Speed)" = 00000003 ]' || fail "Fast did not write Speed (it is '$(setting Speed)')"
xdotool key --clearmodifiers alt+e ctrl+a
xdotool type --delay 50 12
wait_until 5 '[ "$(setting Repeats)" = 0000000c ]' || fail "the repeat count did not write Repeats ('$(setting Repeats)')"
# Ctrl+Page Down: the Options tab, remembered at exit.
xdotool key --clearmodifiers ctrl+Next
sleep 0.3
shot options.png

# Ctrl+O: the file dialog, cancelled; the window goes on.
xdotool key --clearmodifiers ctrl+o
answer_window Open Escape open-dialog.png
kill -0 $pid 2>/dev/null || fail "the program ended with the file dialog"

# Ctrl+O again, a file typed into the dialog: the title names it, and File lists it.
printf 'TYPE hello\n' >"$WORK/task.klx"
activate "$window"
xdotool key --clearmodifiers ctrl+o
choose_in_file_dialog Open "$WORK/task.klx"
wait_until 10 '[ "$(xdotool getwindowname "$window")" = "Kelmor - task.klx" ]' ||
  fail "the chosen file did not open (title '$(xdotool getwindowname "$window")')"

activate "$window"
xdotool key --clearmodifiers alt+f
sleep 0.5
shot file-menu.png
xdotool key Escape
xdotool key --clearmodifiers alt+h
sleep 0.5
shot help-menu.png
# Help > About Kelmor: the link opens through the desktop's opener and turns visited;
# Enter on OK closes the box.
xdotool key a
about_box() { xdotool search --onlyvisible --name '^About Kelmor$' 2>/dev/null | head -n1; }
wait_until 10 '[ -n "$(about_box)" ]' || fail "Help > About Kelmor opened no About box"
sleep 0.5
shot about.png
xdotool key shift+Tab Return
wait_until 5 '[ "$(cat "$WORK/opened" 2>/dev/null)" = https://kelmor.example.org ]' ||
  fail "the About link opened '$(cat "$WORK/opened" 2>/dev/null)'"
sleep 0.3
shot about-visited.png
xdotool key Tab Return
wait_until 10 '[ -z "$(about_box)" ]' || fail "Enter did not close the About box"
# Help > Advanced Help > Legal Agreement: the licence, closed by OK.
activate "$window"
xdotool key --clearmodifiers alt+h
sleep 0.3
xdotool key h l
answer_window "Legal Agreement" Return legal.png
# Moved by the person, it opens there next time.
xdotool windowmove --sync "$window" 300 200
sleep 0.3
where=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
wait_for_end "File > Exit did not end the program"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
[ "$(setting LastTab)" = 00000002 ] || fail "LastTab is '$(setting LastTab)', not the Options tab"
[ "$(setting Speed)" = 00000003 ] || fail "Speed is '$(setting Speed)' after the exit"
[ "$(setting Visited)" = 00000001 ] || fail "Visited is '$(setting Visited)' after the About link was opened"
grep -q "^File1=.*task\.klx" "$KELMOR_REGISTRY" || fail "the opened file is not the first recent file"

# Started again it opens on the Options tab; Reload is saved only at the exit, which the
# window manager's close (Alt+F4) runs too.
start_window "second start"
[ "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Position: \([0-9]*,[0-9]*\).*/\1/p')" = "$where" ] ||
  fail "the window opened at $(xdotool getwindowgeometry "$window" | grep Position), not at $where"
shot restart.png
# Its hidden pages were made after it was drawn, at the size kept from the first start.
[ -s "$HOME/.cache/kelmor/panes" ] || fail "the panes' size was not kept for the next start"
[ "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')" = "$size" ] ||
  fail "the window is $(xdotool getwindowgeometry "$window" | grep Geometry) at the second start, not $size"
xdotool key --clearmodifiers alt+l
sleep 0.3
[ "$(setting Reload)" = 00000000 ] || fail "Reload was saved before the exit"
xdotool key --clearmodifiers alt+F4
wait_for_end "closing the window did not end the program"
[ "$status" -eq 0 ] || fail "kelmor exited with $status after its window was closed"
[ "$(setting Reload)" = 00000001 ] || fail "Reload is '$(setting Reload)' after the window was closed"

# The system's order to end (SIGTERM) runs the exit step as well: the settings are saved.
start_window "third start"
xdotool key --clearmodifiers alt+i
sleep 0.3
kill -TERM "$pid"
wait "$pid"
status=$?
[ "$status" -eq 143 ] || fail "kelmor ended by SIGTERM exited with $status"
[ "$(setting PlayImmediately)" = 00000001 ] || fail "PlayImmediately is '$(setting PlayImmediately)' after SIGTERM"
echo "ok: window, menus, panes; settings written and kept by File > Exit, by closing and by SIGTERM"
