# The window's recorder and player, used as a person would: Ctrl+O opens a recording
# typed into the file dialog and the toolbar's Playback button plays it into a terminal;
# Start and Stop Recording on the toolbar record what is typed into another terminal and
# Ctrl+S saves it through the file dialog. Leaving with an unsaved recording asks whether
# to save it: Cancel stays, No leaves the file as it was, Yes saves it first. The toolbar
# is judged by how it looks (greyed or not), the terminals by what they received.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# The file dialog keeps its own preferences in GSettings; this run has no session bus.
export GSETTINGS_BACKEND=memory
[ -n "$TOOLBAR_PLACES" ] || fail "no program to find the toolbar with"

title() { xdotool getwindowname "$window" 2>/dev/null; }

# Waits until the toolbar buttons named show the states given ("Name:state ...").
expect_toolbar() {
  local want=$1 names
  names=$(echo "$want" | sed 's/:[a-z]*//g')
  # shellcheck disable=SC2086
  wait_until 10 '[ "$(toolbar_states "$window" $names)" = "$want" ]' ||
    fail "toolbar $(toolbar_states "$window" $names), not $want"
}
IDLE="Open:enabled SaveAs:enabled StartRecording:enabled StopRecording:greyed Playback:enabled"
BUSY="Open:greyed SaveAs:greyed StartRecording:greyed StopRecording:enabled Playback:greyed"

# The virtual keys pressed in a saved text recording, modifiers left out, in hex.
recorded_keys() {
  sed -n 's/^message=WM_KEYDOWN .*paramL=\([0-9]*\) .*/\1/p' "$1" |
    while read -r l; do echo $((l & 255)); done | grep -vx '16\|160\|161' | xargs printf '%x '
}

start_cat_terminal "Kelmor play target" "$WORK/played.txt"
cat >"$WORK/play.klx" <<KLX
GOTO Kelmor play target
WAIT 2
TYPE played{enter}
KLX

start_window "play and record"
shot play-record-window.png
expect_toolbar "Open:enabled SaveAs:greyed StartRecording:enabled StopRecording:greyed Playback:greyed"

# Ctrl+O, the file typed into the dialog; the toolbar's Playback button plays it.
xdotool key --clearmodifiers ctrl+o
choose_in_file_dialog Open "$WORK/play.klx" open-typed.png
wait_until 10 '[ "$(title)" = "Kelmor - play.klx" ]' || fail "the chosen file did not open (title '$(title)')"
expect_toolbar "$IDLE"
click_toolbar Playback "$window"
expect_toolbar "$BUSY"
shot playing.png
expect_file "$WORK/played.txt" 'played\n'
expect_toolbar "$IDLE"
[ "$(title)" = "Kelmor - play.klx" ] || fail "after the playback the title is '$(title)'"

# Start Recording on the toolbar, keys typed into another terminal, Stop Recording.
start_cat_terminal "Kelmor record target" "$WORK/typed.txt"
activate "$window"
click_toolbar StartRecording "$window"
expect_toolbar "$BUSY"
focus_window "Kelmor record target"
xdotool type --delay 40 'Rec 7'
xdotool key Return
expect_file "$WORK/typed.txt" 'Rec 7\n'
activate "$window"
click_toolbar StopRecording "$window"
expect_toolbar "$IDLE"

# Ctrl+S: the Save As dialog writes the recording where it is told.
xdotool key --clearmodifiers ctrl+s
choose_in_file_dialog "Save As" "$WORK/typed.klx" save-as-typed.png
wait_until 10 '[ "$(title)" = "Kelmor - typed.klx" ]' || fail "the recording was not saved (title '$(title)')"
[ "$(recorded_keys "$WORK/typed.klx")" = "52 45 43 20 37 d " ] ||
  fail "the saved recording holds the keys $(recorded_keys "$WORK/typed.klx")"
# The clicks on Kelmor's own buttons are not part of the recording.
! grep -q 'message=WM_LBUTTON' "$WORK/typed.klx" || fail "the recording holds the clicks on the toolbar"
"$KELMORCTL" info "$WORK/typed.klx" || fail "kelmorctl cannot read the saved recording"

# Recorded again and stopped from the Recorder menu, the recording is unsaved: Exit asks.
# Cancel keeps the window, No leaves without touching the saved file.
cp "$WORK/typed.klx" "$WORK/saved-before.klx"
click_toolbar StartRecording "$window"
expect_toolbar "$BUSY"
focus_window "Kelmor record target"
xdotool type --delay 40 'x'
activate "$window"
xdotool key --clearmodifiers alt+r
sleep 0.5
shot recorder-menu-recording.png
xdotool key t
expect_toolbar "$IDLE"
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
answer_window "Confirm Action" alt+c confirm-action.png
kill -0 "$pid" 2>/dev/null || fail "Cancel ended the program"
[ -n "$(window_of_kelmor)" ] || fail "Cancel closed the window"
activate "$window"
xdotool key --clearmodifiers alt+F4
answer_window "Confirm Action" alt+n
wait_for_end "No did not end the program"
[ "$status" -eq 0 ] || fail "kelmor exited with $status after No"
cmp -s "$WORK/typed.klx" "$WORK/saved-before.klx" || fail "No changed the saved file"

# With Minimize on, Start Recording minimises the window, titled as the way to stop; the
# person brings it back and that ends the recording. Playback minimises it too. Then Exit:
# Yes goes to Save As, and the program ends once the recording is written.
sed -i 's/^Minimize=.*/Minimize=dword:00000001/' "$KELMOR_REGISTRY"
start_window "save at exit"
click_toolbar StartRecording "$window"
wait_until 10 '[ -z "$(window_of_kelmor)" ]' || fail "Start Recording with Minimize on did not minimise the window"
[ "$(title)" = "CLICK TO STOP RECORDING" ] || fail "the minimised window is titled '$(title)'"
focus_window "Kelmor record target"
xdotool type --delay 40 'yes'
xdotool key Return
expect_file "$WORK/typed.txt" 'Rec 7\nxyes\n'
activate "$window"
wait_until 10 '[ "$(title)" = "Kelmor - (Untitled)" ]' || fail "bringing the window back left the title '$(title)'"
expect_toolbar "$IDLE"
# Played from the toolbar, the window steps aside (Minimize) and the keys go to the terminal
# that had the focus before it; the window comes back when the playback is over.
click_toolbar Playback "$window"
expect_file "$WORK/typed.txt" 'Rec 7\nxyes\nyes\n'
wait_until 10 '[ -n "$(window_of_kelmor)" ]' || fail "the window did not come back after the playback"
expect_toolbar "$IDLE"
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
answer_window "Confirm Action" alt+y
choose_in_file_dialog "Save As" "$WORK/at-exit.klx" save-as-at-exit.png
wait_for_end "the program did not end after saving"
[ "$status" -eq 0 ] || fail "kelmor exited with $status after Yes"
[ "$(recorded_keys "$WORK/at-exit.klx")" = "59 45 53 d " ] ||
  fail "the recording saved at exit holds the keys $(recorded_keys "$WORK/at-exit.klx")"
echo "ok: opened and played from the toolbar, recorded and saved, asked at exit"
