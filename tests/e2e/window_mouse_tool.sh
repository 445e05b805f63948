# The Mouse Coordinates tool as a person uses it: on the last page of Advanced Options,
# with the copy box checked, the target is dragged from its picture onto another
# program's window and let go there. While it is held the picture shows its empty well
# (the target is the pointer); the result names the window and the point; the clipboard,
# read by another program, holds the GOTO/CLICK template with the point counted from the
# window's frame, where CLICK counts from when it plays. With a clipboard manager running
# (parcellite) the template is still there after Kelmor has ended.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
printf '[SOFTWARE\\Kelmor]\nLogfile=sz:%s\nPromptForSave=dword:00000000\n' "$WORK/Kelmor.log" >"$KELMOR_REGISTRY"
[ -n "$COLOUR_PLACE" ] || fail "no colour finder given"
command -v xclip >/dev/null 2>&1 || { echo "skipped: no xclip to read the clipboard with"; exit 77; }
# The target's red centre, as the picture draws it.
TARGET_RED=d9261a

# Another program's window, clear of the dialog in the middle of the screen.
xterm -T "Probe Target" -geometry 30x8+20+700 -e sleep 600 &
wait_until 10 '[ -n "$(visible_window "Probe Target")" ]' || fail "no probe window"
probe=$(visible_window "Probe Target")

# A clipboard manager, where one is installed, keeps the template once Kelmor has ended.
manager=""
if command -v parcellite >/dev/null 2>&1; then
  parcellite -n >/dev/null 2>&1 &
  manager=$!
fi

start_window "tool"
click_toolbar AdvancedOptions "$window"
wait_until 10 '[ -n "$(visible_window "Advanced Options")" ]' || fail "the Advanced Options button opened no dialog"
sleep 0.5
dialog=$(visible_window "Advanced Options")
activate "$dialog"
# Mouse Coordinates is the last of the five pages.
for page in 1 2 3 4; do
  xdotool key --clearmodifiers ctrl+Next
  sleep 0.3
done
xdotool key --clearmodifiers alt+t
sleep 0.4
target=$("$COLOUR_PLACE" "$dialog" $TARGET_RED) || fail "no target picture on the Mouse Coordinates page"

# The point: 30, 40 into the probe's own area, and its frame's corner on the screen.
corner=$(xwininfo -id "$probe" | sed -n 's/^ *Absolute upper-left [XY]: *//p' | paste -sd' ')
extents=$(xprop -id "$probe" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
set -- $corner $extents
[ $# -eq 6 ] || fail "cannot measure the probe: '$corner' '$extents'"
x=$(($1 + 30)) y=$(($2 + 40))
frame_x=$(($1 - $3)) frame_y=$(($2 - $5))

# A hold lost on the way (the dialog taken off the screen) ends it as a release would:
# the target is back in its picture and the next press takes the pointer again.
xdotool mousemove --sync $target mousedown 1
sleep 0.3
xdotool mousemove --sync $((x + 20)) $((y + 10))
sleep 0.2
xdotool windowunmap --sync "$dialog"
sleep 0.3
xdotool mouseup 1
xdotool windowmap --sync "$dialog"
sleep 0.5
activate "$dialog"
"$COLOUR_PLACE" "$dialog" $TARGET_RED >/dev/null || fail "the target stayed out of its picture after the hold was lost"

xdotool mousemove --sync $target mousedown 1
sleep 0.3
xdotool mousemove --sync $((x - 50)) $((y - 20))
sleep 0.2
xdotool mousemove --sync $x $y
sleep 0.5
shot mouse-tool-capturing.png
! "$COLOUR_PLACE" "$dialog" $TARGET_RED >/dev/null || fail "the picture still shows the target while it is held"
xdotool mouseup 1
sleep 0.5
shot mouse-tool-released.png
"$COLOUR_PLACE" "$dialog" $TARGET_RED >/dev/null || fail "the target is not back in its picture after the release"

printf 'GOTO Probe Target\r\nCLICK %d, %d\r\n' $((x - frame_x)) $((y - frame_y)) >"$WORK/expected"
wait_until 5 'xclip -o -selection clipboard >"$WORK/clipboard" 2>/dev/null && cmp -s "$WORK/clipboard" "$WORK/expected"' || {
  od -c "$WORK/expected" >&2
  od -c "$WORK/clipboard" >&2
  fail "the clipboard does not hold the template for the probe"
}

# The dialog takes keys again once the pointer is let go.
activate "$dialog"
xdotool key --clearmodifiers alt+o
wait_until 10 '[ -z "$(visible_window "Advanced Options")" ]' || fail "OK did not close Advanced Options"
activate "$window"
xdotool key --clearmodifiers alt+f
sleep 0.4
xdotool key x
wait_for_end "File > Exit did not end the program"
kept="no clipboard manager installed"
if [ -n "$manager" ]; then
  wait_until 5 'xclip -o -selection clipboard >"$WORK/clipboard" 2>/dev/null && cmp -s "$WORK/clipboard" "$WORK/expected"' ||
    fail "the clipboard manager did not keep the template after Kelmor ended"
  kept="kept by the clipboard manager after the exit"
fi
echo "ok: the Mouse Coordinates tool named the probe at ($x, $y) and put its template on the clipboard ($kept)"
