#!/usr/bin/env bash
# The Windows face's dialogs under Wine, driven by real X input: the probe
# (tests/platform/win32gui/dialog_probe.cpp) shows the real panes in a window of its own.
# Keys typed into the Keys field all reach the procedure (Tab and Ctrl too), and a text it
# shows there leaves the caret at its end; characters typed into the ShortType field reach it as characters, and neither field changes by
# itself; clicking a gadget ends that part. Then it runs the real Advanced Options
# description twice, owned by that window (disabled meanwhile). The first time a person
# ticks a box, types into a field, presses F1, answers a message box the dialog opens
# (owned by it), turns the tab pages (Ctrl+Page Down and clicks), clicks a spin arrow
# and the log slider, saves through the file dialog, holds the pointer with the picture and presses Enter: the procedure
# must have been told each, saw only the chosen page, and reads back what was done. The
# second time Esc cancels it.
# $1 is the probe, $3 the source folder (lib.sh), $5 a screenshot program (may be empty),
# $6 the artefacts' folder; WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT

cd "$WORK" || exit 1
: >events
wine "$KELMOR" >events &
probe=$!
said() { tr -d '\r' <events | grep -qx "$1"; }
expect() {
  wanted=$1
  wait_until 10 'said "$wanted"' || { tr -d '\r' <events >&2; fail "the procedure was not told '$wanted'"; }
}
at() { tr -d '\r' <events | grep "^at $1 " | tail -n1 | cut -d' ' -f3-; }

wait_until 30 'said "pane shown"' || fail "the panes did not show: $(cat events)"
activate "$(visible_window "Kelmor dialog probe")"
sleep 0.3
# A gadget's text is its tool tip (seen in the screenshot).
xdotool mousemove $(at mapping-gadget)
sleep 1.5
shot wine-dialog-tip.png
# Key codes: NOTIFY_KEY 0x100 + virtual key, NOTIFY_CHAR 0x200 + character.
xdotool key a
expect "pane keys $((0x100 + 0x41)) text="
expect "pane keys $((0x200 + 0x61)) text="
xdotool key Tab ctrl+x
expect "pane keys $((0x100 + 0x09)) text="
expect "pane keys $((0x100 + 0x58)) text="
# A key the procedure shows leaves the caret at the end of the field.
xdotool key F7
expect "keys caret 9 9"
shot wine-dialog-panes.png
click_at $(at pane-tab3)
expect "pane tabs 1 text="
click_at $(at shorttype)
xdotool type x
xdotool key Delete BackSpace
expect "pane shorttype $((0x200 + 0x78)) text="
expect "pane shorttype $((0x200 + 0x08)) text="
# A gadget is a push button whose text, the name a screen reader says, is its tip.
click_at $(at gadget)
expect "pane gadget 0 text=Add ShortType"

wait_until 30 'said shown' || fail "the dialog did not show: $(cat events)"
expect "owner-enabled 0"
window=$(visible_window "Advanced Options")
[ -n "$window" ] || fail "no window titled 'Advanced Options'"
activate "$window"
sleep 0.3

click_at $(at minimize)
expect "minimize 0"
click_at $(at editor)
xdotool type --delay 50 notepad
expect "editor 1"
xdotool key F1
expect "F1"
# A message box opened from the dialog: above it, holding it, with the program's icon.
click_at $(at browse)
wait_until 10 'said "box shown"' || fail "no message box"
shot wine-dialog-box.png
expect "box owner-is-dialog 1 dialog-enabled 0"
activate "$(visible_window "Kelmor probe box")"
xdotool key Escape
expect "box 2"
activate "$window"

xdotool key ctrl+Next
expect "page 1 display-shown 1 behavior-shown 0 focus-on-tabs 1"
shot wine-dialog-display.png
click_at $(at recent-up)
expect "recent-arrows 2"
click_at $(at tab3)
click_at $(at log-level)
expect "log-level 1"
shot wine-dialog-log.png
# The save dialog with the name proposed, and the filter it was opened with.
click_at $(at log-browse)
wait_until 20 '[ -n "$(visible_window "Save As")" ]' || fail "no Save As dialog"
sleep 1
shot wine-dialog-save.png
activate "$(visible_window "Save As")"
xdotool key Return
expect "file 1 probe.klr filter 2"
activate "$window"

click_at $(at tab4)
shot wine-dialog-mouse.png
read -r x y <<<"$(at pointer)"
xdotool mousemove "$x" "$y" mousedown 1
expect "pointer 0"
xdotool mousemove $((x + 120)) $((y + 60))
expect "pointer 5"
xdotool mouseup 1
expect "pointer 6"

xdotool key Return
expect "ok editor=notepad minimize=1 tab=4 level=2"
expect "result 1"

# Again, cancelled with Esc.
wait_until 20 '[ "$(tr -d "\r" <events | grep -cx shown)" = 2 ]' || fail "the dialog did not show again"
activate "$(visible_window "Advanced Options")"
xdotool key Escape
expect "cancel 0"
expect "result 2"

# The About box: Enter presses its default OK. The Legal box keeps its text as given and
# Esc presses its Cancel.
wait_until 20 'said "small shown"' || fail "no About box"
activate "$(visible_window "About Kelmor")"
shot wine-dialog-about.png
xdotool key Return
expect "about 1"
expect "legal text kept"
wait_until 20 '[ "$(tr -d "\r" <events | grep -cx "small shown")" = 2 ]' || fail "no Legal Agreement box"
activate "$(visible_window "Legal Agreement")"
shot wine-dialog-legal.png
xdotool key Escape
expect "legal 2"
wait_until 10 '! kill -0 $probe 2>/dev/null' || fail "the probe did not end"
tr -d "\r" <events | grep -v "^at " >&2
echo "PASS: $(tr -d '\r' <events | grep -vc '^at ') reports"
