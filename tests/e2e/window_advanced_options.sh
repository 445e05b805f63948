# Advanced Options as a person uses it: the toolbar button opens the dialog, Ctrl+Page Down
# walks its pages, a Fast Playback Factor typed on Value Ranges is applied, F1 on Log
# Settings opens that page's help topic, and OK closes it. The new factor is in the store
# after the exit, and the next start shows it in the field: a change on another field
# applied with OK leaves the store's factor as the field showed it. The log file's button
# opens the file chooser in front. A screenshot of every page is kept.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
export GSETTINGS_BACKEND=memory
record_default_handlers "$WORK/opened"
# No log question at the start: it would stand in front of the window.
printf '[SOFTWARE\\Kelmor]\nLogfile=sz:%s\nPromptForSave=dword:00000000\n' "$WORK/Kelmor.log" >"$KELMOR_REGISTRY"

options_window() { visible_window "Advanced Options"; }

open_options() {
  click_toolbar AdvancedOptions "$window"
  wait_until 10 '[ -n "$(options_window)" ]' || fail "the Advanced Options button opened no dialog ($1)"
  sleep 0.5
  dialog=$(options_window)
}

in_dialog() {
  activate "$dialog"
  xdotool key --clearmodifiers "$@"
  sleep 0.4
}

# Replaces what the field with the focus holds.
retype() {
  in_dialog ctrl+a
  xdotool type --delay 20 "$1"
  sleep 0.3
}

close_with_ok() {
  in_dialog alt+o
  wait_until 10 '[ -z "$(options_window)" ]' || fail "OK did not close Advanced Options"
}

exit_kelmor() {
  activate "$window"
  xdotool key --clearmodifiers alt+f
  sleep 0.4
  xdotool key x
  wait_for_end "File > Exit did not end the program"
}

start_window "first"
open_options "first"
shot advanced-options-behavior.png
in_dialog ctrl+Next
shot advanced-options-display.png
in_dialog ctrl+Next
shot advanced-options-value-ranges.png
# The fast factor's field is two above the minimum random number's (Alt+I).
in_dialog alt+i shift+Tab shift+Tab
retype 23
in_dialog alt+a
# Back into the page (Apply had the focus) and on to Log Settings.
in_dialog alt+i ctrl+Next
shot advanced-options-log.png
in_dialog F1
wait_until 10 'grep -q "KelmorGuide.html#topic-1086" "$WORK/opened" 2>/dev/null' ||
  fail "F1 on Log Settings opened $(cat "$WORK/opened" 2>/dev/null), not topic 1086"
# The log file's button opens the file chooser in front of the dialog, with the focus.
in_dialog alt+l Tab space
wait_until 10 '[ -n "$(visible_window "Save As")" ]' || fail "the log file's button opened no file chooser"
sleep 0.5
chooser=$(printf '0x%x' "$(visible_window "Save As")")
[ "$(xprop -root _NET_ACTIVE_WINDOW | awk '{print $NF}')" = "$chooser" ] &&
  xprop -root _NET_CLIENT_LIST_STACKING | grep -q "$chooser\$" ||
  fail "the file chooser is not the front window: $(xprop -root _NET_CLIENT_LIST_STACKING _NET_ACTIVE_WINDOW)"
shot advanced-options-log-chooser.png
xdotool key Escape
wait_until 10 '[ -z "$(visible_window "Save As")" ]' || fail "Escape did not close the file chooser"
in_dialog ctrl+Next
shot advanced-options-mouse.png
in_dialog ctrl+Prior ctrl+Prior
close_with_ok
exit_kelmor
[ "$(setting FactorFast)" = 00000017 ] || fail "the store holds FactorFast $(setting FactorFast), not 23"
[ "$(setting LastOptionsTab)" = 00000003 ] || fail "OK on Value Ranges left LastOptionsTab $(setting LastOptionsTab)"

start_window "again"
open_options "again"
shot advanced-options-reopened.png
# The slow factor is one field above the minimum random number's.
in_dialog alt+i shift+Tab
retype 5
close_with_ok
exit_kelmor
[ "$(setting FactorSlow)" = 00000005 ] || fail "OK did not apply the slow factor: $(setting FactorSlow)"
[ "$(setting FactorFast)" = 00000017 ] || fail "the reopened field held $((16#$(setting FactorFast))), not 23"
echo "ok: Advanced Options from the toolbar, a factor applied and shown again after a restart, F1 per page"
