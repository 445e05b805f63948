# Hot keys of the keyboard service around a playback and a recording: F9 plays a recording
# file into a window; while it plays, and while a recording started with F11 runs, the
# Mappings do nothing (their keys reach the window as any other key); once either is over,
# they act again.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# Ctrl+F7 types a text, F8 starts a program, F9 plays a file, F11 starts recording and
# Pause stops it.
: >"$KELMOR_REGISTRY"
store_mapping 118 5 "my address" 1
store_mapping 119 6 "touch $WORK/launched"
store_mapping 120 7 "$WORK/play.klx"
store_mapping 122 1 ""
store_mapping 19 2 ""
cat >"$WORK/play.klx" <<KLX
GOTO key probe
TYPE played
WAIT 3
TYPE done
KLX

# Presses the hot keys; then, once $2 has come, the probe must show neither the typed
# text nor a started program. $1 names the moment.
expect_inert() {
  local moment=$1 end=$2 mark
  mark=$(probe_mark)
  xdotool key ctrl+F7 F8
  wait_until 10 '[ "$(probe_typed_since $mark | tail -c ${#end})" = "$end" ]' ||
    fail "$moment: the probe received '$(probe_typed_since "$mark")'"
  case "$(probe_typed_since "$mark")" in *"my address"*) fail "$moment: Ctrl+F7 typed its text" ;; esac
  [ ! -e "$WORK/launched" ] || fail "$moment: F8 started its program"
}
# The service is back: Ctrl+F7 types again (into the probe: the window coming back at the
# end of a playback may have taken the focus).
expect_active() {
  local mark
  sleep 0.6
  focus_window "Kelmor key probe"
  mark=$(probe_mark)
  xdotool key ctrl+F7
  wait_until 10 '[ "$(probe_typed_since $mark)" = "my address" ]' ||
    fail "$1: Ctrl+F7 brought '$(probe_typed_since "$mark")', not its text"
}

start_probe "Kelmor key probe"
start_window "service around playback and recording"
focus_window "Kelmor key probe"
expect_active "started"

mark=$(probe_mark)
xdotool key F9
expect_probe "$mark" "played"
expect_inert "during the playback" "done"
expect_active "after the playback"

xdotool key F11
wait_until 10 '[ "$(toolbar_states "$window" StopRecording)" = StopRecording:enabled ]' ||
  fail "F11 started no recording"
shot recording-by-hot-key.png
focus_window "Kelmor key probe"
mark=$(probe_mark)
xdotool key ctrl+F7 F8 x
wait_until 10 '[ "$(probe_typed_since $mark)" = "<ctrl+F7><F8>x" ]' ||
  fail "during the recording the probe received '$(probe_typed_since "$mark")'"
[ ! -e "$WORK/launched" ] || fail "during the recording F8 started its program"
xdotool key Pause
wait_until 10 '[ "$(toolbar_states "$window" StopRecording)" = StopRecording:greyed ]' ||
  fail "Pause did not stop the recording"
focus_window "Kelmor key probe"
expect_active "after the recording"
echo "ok: hot keys inert during a playback and a recording, active after them"
