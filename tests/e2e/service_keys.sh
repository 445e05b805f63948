# The keyboard service of the running window, in other programs: a ShortType added through
# the ShortType tab expands in a terminal (three BackSpaces, then its text); Ctrl+F7 types
# its Mapping's text into a window that never sees that F7, while it sees Ctrl+Shift+F7; a
# launch Mapping starts a program. Unchecking Activate stops all of it within one timer
# period and the status line says so; checking it again, on the other tab, brings it back.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
ADD_BADGE=26a633
DELETE_BADGE=d9271a
# The ShortType tab first. Ctrl+F7 types a text, F8 starts a program.
printf '[SOFTWARE\\Kelmor]\nLastTab=dword:00000004\n' >"$KELMOR_REGISTRY"
store_mapping 118 5 "my address" 1
store_mapping 119 6 "touch $WORK/launched"

badge() { "$SCREENSHOT" --find "$1"; }
# Types a line into the terminal, as a person would.
type_line() {
  focus_window "Kelmor shorttype target"
  xdotool type --delay 40 "$1"
  xdotool key Return
}
# Goes to the tab by the keys $1 and clicks its Activate box, below the gadgets; waits a
# timer period and keeps the screenshot $3.
click_activate() {
  activate "$window"
  xdotool key "$1"
  sleep 0.5
  at=$(badge $DELETE_BADGE) || fail "no delete gadget on the $2"
  read -r x y <<<"$at"
  click_at $((x - 90)) $((y + 19))
  sleep 0.6
  shot "$3"
}
# Whether the probe got an F7 event (press or release) after mark $1.
probe_saw_f7() { tail -n +$(($1 + 1)) "$PROBE_LOG" | grep -q '^[a-z]* F7 '; }

start_cat_terminal "Kelmor shorttype target" "$WORK/typed.txt"
start_probe "Kelmor key probe"
start_window "service"

# btw -> "by the way", typed into the ShortType tab.
at=$(badge $DELETE_BADGE) || fail "no delete gadget on the ShortType tab"
read -r x y <<<"$at"
click_at $((x + 40)) $((y - 100))   # the abbreviation field
xdotool type --delay 20 "btw"
click_at $((x + 40)) $((y - 50))   # the Replace text field
xdotool type --delay 20 "by the way"
at=$(badge $ADD_BADGE) || fail "no add gadget on the ShortType tab"
xdotool mousemove $at
sleep 0.2
xdotool click 1
! wait_until 1 '[ -n "$(visible_window "Service Not Active")" ]' || fail "adding a ShortType: the service is not active"
grep -qx 'Text=sz:by the way' "$KELMOR_REGISTRY" || fail "no ShortType stored: $(cat "$KELMOR_REGISTRY")"
shot service-active.png

# A blank before the abbreviation shows that exactly three BackSpaces came.
type_line "so btw ok"
expect_file "$WORK/typed.txt" 'so by the way ok\n'

focus_window "Kelmor key probe"
mark=$(probe_mark)
xdotool key ctrl+F7
expect_probe "$mark" "my address"
sleep 0.3
! probe_saw_f7 "$mark" || fail "the hot key's F7 reached the window: $(tail -n +$((mark + 1)) "$PROBE_LOG")"
mark=$(probe_mark)
xdotool key ctrl+shift+F7
expect_probe "$mark" "<ctrl+F7>"

mark=$(probe_mark)
xdotool key F8
wait_until 10 '[ -e "$WORK/launched" ]' || fail "the launch Mapping started nothing"
sleep 0.3
[ -z "$(probe_typed_since "$mark")" ] || fail "the launch Mapping's key reached the window: $(probe_typed_since "$mark")"

# Activate unchecked on the Keyboard tab: the next tick (500 ms) stops the service.
click_activate ctrl+Prior "Keyboard tab" service-stopped.png
type_line "so btw ok"
expect_file "$WORK/typed.txt" 'so by the way ok\nso btw ok\n'
focus_window "Kelmor key probe"
mark=$(probe_mark)
xdotool key ctrl+F7
expect_probe "$mark" "<ctrl+F7>"

# The box on the ShortType tab is the same setting: checked there, the service comes back.
click_activate ctrl+Next "ShortType tab" service-restarted.png
type_line "btw"
expect_file "$WORK/typed.txt" 'so by the way ok\nso btw ok\nby the way\n'
echo "ok: ShortType and hot keys acted in other programs, and stopped with Activate"
