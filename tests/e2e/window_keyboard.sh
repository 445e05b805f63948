# The window with the keyboard alone, as a screen reader finds it: Tab and Shift+Tab go
# through every tab page and dialog and back (a screenshot each step), every control that
# takes the focus has a name on the accessibility bus, a Mapping and a ShortType are added
# and deleted without the mouse, Esc and Enter close each dialog, and at GDK_SCALE=2 no
# dialog is larger than the screen.
if [ -z "${KELMOR_SESSION_BUS:-}" ]; then
  # A session bus of its own, which the accessibility bus is started from.
  export KELMOR_SESSION_BUS=1
  exec dbus-run-session -- bash "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
printf '[SOFTWARE\\Kelmor]\nLastTab=dword:00000001\nPromptForSave=dword:00000000\n' >"$KELMOR_REGISTRY"
ATSPI="$SRC/tests/e2e/atspi.py"
[ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  { echo "SKIP: no AT-SPI for Python (python3-pyatspi)"; exit 77; }
atspi() { /usr/bin/python3 "$ATSPI" "$@"; }
focus_now() { atspi focus kelmor; }
KEYS_FIELD='text "Keys:"'

# Presses the key $1 (Ctrl with it in the Keys field, which takes Tab itself) and keeps a
# screenshot named $2.
move_focus() {
  local key=$1
  [ "$(focus_now)" = "$KEYS_FIELD" ] && key="ctrl+$key"
  xdotool key "$key"
  sleep 0.25
  shot "$2"
}

# Tab $2 times from where the focus is, keeping a screenshot of each step (named after
# $1), then Shift+Tab as many times back, which must pass the same controls in the reverse
# order. The controls Tab reached go to $WORK/reached, one a line.
tab_round() {
  local i reached=()
  reached[0]=$(focus_now)
  for i in $(seq "$2"); do
    move_focus Tab "$1-tab$i.png"
    reached[i]=$(focus_now)
  done
  for ((i = $2 - 1; i >= 0; i--)); do
    move_focus shift+Tab "$1-back$i.png"
    [ "$(focus_now)" = "${reached[i]}" ] ||
      fail "$1: Shift+Tab from ${reached[i + 1]} went to $(focus_now), not ${reached[i]} (Tab: $(printf '%s|' "${reached[@]}"))"
  done
  printf '%s\n' "${reached[@]}" >"$WORK/reached"
}

# Tab (or the key $2) until the control $1 has the focus.
tab_to() {
  local i
  for i in $(seq 20); do
    [ "$(focus_now)" = "$1" ] && return 0
    move_focus "${2:-Tab}" "tab-to.png"
  done
  fail "Tab never reached $1"
}

# The value $2 of key $1 as the store file holds it (empty when there is none).
stored() {
  KEY="[$1]" NAME="$2=" awk '$0 == ENVIRON["KEY"] { inside = 1; next } /^\[/ { inside = 0 }
    inside && index($0, ENVIRON["NAME"]) == 1 { print substr($0, length(ENVIRON["NAME"]) + 1) }' "$KELMOR_REGISTRY"
}

# Opens a dialog with the menu keys $2 and waits for its window titled $1.
open_dialog() {
  local title=$1
  shift
  activate "$window"
  xdotool key "$@"
  wait_until 10 '[ -n "$(visible_window "$title")" ]' || fail "no dialog '$title' after $*"
  sleep 0.5
}

# A first start keeps the panes' size for the next. The start after it makes the pages
# behind the shown one once the window is drawn: those are the pages walked and tabbed.
start_window "first start"
xdotool key --clearmodifiers alt+F4
wait_for_end "closing the window did not end the program"
[ -s "$HOME/.cache/kelmor/panes" ] || fail "the panes' size was not kept for the next start"
start_window keyboard
atspi walk kelmor Kelmor panes >"$WORK/tree.txt" || { cat "$WORK/tree.txt"; fail "the main window has nameless controls"; }

# Every page: Tab round from its tab.
tab_to 'page tab list ""'
# How many controls each page has to Tab through.
for page in playback:3 options:5 keyboard:8 shorttype:6; do
  count=${page#*:}
  page=${page%:*}
  tab_round "keyboard-$page" "$count"
  reached=$(cat "$WORK/reached")
  echo "$page: $(echo "$reached" | tr '\n' '|')"
  case $page in
    keyboard) for name in 'push button "Add Mapping"' 'push button "Delete Mapping"' \
      'push button "How to use "Keyboard Mappings""' "$KEYS_FIELD"; do
      echo "$reached" | grep -qxF "$name" || fail "Tab did not reach $name on the Keyboard tab"
    done ;;
    shorttype) echo "$reached" | grep -qxF 'push button "Add ShortType"' || fail "Tab did not reach Add ShortType" ;;
  esac
  xdotool key ctrl+Next
  sleep 0.3
done

# A Mapping, with the keyboard alone: Alt+K, the keys, Ctrl+Tab out, the action, the gadget.
xdotool key ctrl+Next ctrl+Next
sleep 0.3
xdotool key --clearmodifiers alt+k
sleep 0.2
[ "$(focus_now)" = "$KEYS_FIELD" ] || fail "Alt+K did not reach the Keys field: $(focus_now)"
# Ctrl+Page Down is a combination like any other there, not the next tab.
xdotool key ctrl+Next
sleep 0.2
shot keyboard-keys-captured.png
case $(atspi text kelmor) in "Ctrl + "*PgDn) ;; *) false ;; esac || fail "Ctrl+Page Down in the Keys field gave '$(atspi text kelmor)'"
xdotool key ctrl+shift+F8
sleep 0.2
move_focus Tab keyboard-left-keys.png   # Ctrl+Tab: the way out of the field, to the list's arrow
[ "$(focus_now)" != "$KEYS_FIELD" ] || fail "Ctrl+Tab did not leave the Keys field"
xdotool key Tab   # the Action list
xdotool key Down Down Down   # Playback
sleep 0.2
tab_to 'push button "Add Mapping"'
xdotool key space
sleep 0.5
shot keyboard-mapping-added.png
F8='SOFTWARE\Kelmor\Mappings\119'
wait_until 5 '[ "$(stored "$F8" Action)" = dword:00000003 ]' ||
  fail "no Playback Mapping on Ctrl+Shift+F8 stored: $(cat "$KELMOR_REGISTRY")"
[ -z "$(stored 'SOFTWARE\Kelmor\Mappings\34' Action)" ] || fail "Ctrl+Page Down was stored instead"
# The combination now plays (the keyboard service takes it): the Mapping is chosen from the
# list, which the arrow beside the field opens.
xdotool key --clearmodifiers alt+k
sleep 0.2
xdotool key ctrl+Tab space
sleep 0.5
xdotool key Down Return
sleep 0.3
shot keyboard-mapping-chosen.png
tab_to 'push button "Delete Mapping"' Tab
xdotool key Return
sleep 0.5
shot keyboard-mapping-deleted.png
wait_until 5 '[ -z "$(stored "$F8" Action)" ]' || fail "Enter on Delete Mapping left it: $(cat "$KELMOR_REGISTRY")"

# A ShortType of two lines: Enter makes the second in the with: field.
xdotool key ctrl+Next
sleep 0.3
xdotool key --clearmodifiers alt+p
xdotool type --delay 30 "kx"
xdotool key Left b
xdotool key --clearmodifiers alt+w
xdotool type --delay 30 "first"
xdotool key Return
xdotool type --delay 30 "second"
shot keyboard-shorttype-typed.png
tab_to 'push button "Add ShortType"'
xdotool key Return
sleep 0.5
KB='SOFTWARE\Kelmor\ShortType\kbx'
wait_until 5 '[ -n "$(stored "$KB" Text)" ]' || fail "no ShortType kbx stored: $(cat "$KELMOR_REGISTRY")"
echo "stored: $(stored "$KB" Text)"
# Typed, kbx would now be replaced by its text: it is chosen from the list (Alt+Down).
xdotool key --clearmodifiers alt+p
xdotool key --clearmodifiers alt+Down
sleep 0.5
xdotool key Down Return
sleep 0.3
shot keyboard-shorttype-chosen.png
tab_to 'push button "Delete ShortType"'
xdotool key space
wait_until 5 '[ -z "$(stored "$KB" Text)" ]' || fail "Space on Delete ShortType left it"

# Each dialog: named controls, a Tab round, Esc closes it, and so does Enter.
check_dialog() {
  local title=$1 name=$2
  shift 2
  open_dialog "$title" "$@"
  atspi walk kelmor "$title" dialog >"$WORK/tree.txt" || { cat "$WORK/tree.txt"; fail "nameless controls in $title"; }
  tab_round "keyboard-$name" 4
  xdotool key Escape
  wait_until 5 '[ -z "$(visible_window "$title")" ]' || fail "Esc did not close $title"
  open_dialog "$title" "$@"
  xdotool key Return
  wait_until 5 '[ -z "$(visible_window "$title")" ]' || fail "Enter did not close $title"
}
check_dialog "About Kelmor" about alt+h a
check_dialog "Legal Agreement" legal alt+h h l
check_dialog "Advanced Options" options alt+t o
# Enter in a field of Advanced Options presses OK, which keeps what was typed.
open_dialog "Advanced Options" alt+t o
xdotool key --clearmodifiers alt+e ctrl+a
xdotool type --delay 20 "my-editor"
xdotool key Return
wait_until 5 '[ -z "$(visible_window "Advanced Options")" ]' || fail "Enter in the editor field did not press OK"
wait_until 5 '[ "$(grep -c "^Editor=sz:my-editor$" "$KELMOR_REGISTRY")" = 1 ]' || fail "the editor typed was not kept"

xdotool key --clearmodifiers alt+f x
wait_for_end "File > Exit did not end the program"
[ "$status" -eq 0 ] || fail "the program exited with $status"

# At scale 2 every window fits on the screen.
screen=$(xdotool getdisplaygeometry)
export GDK_SCALE=2
start_window "scale 2"
fits() {
  local w h
  eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(WIDTH|HEIGHT)=')"
  echo "$1 at scale 2: ${WIDTH}x${HEIGHT} on ${screen/ /x}"
  [ "$WIDTH" -le "${screen% *}" ] && [ "$HEIGHT" -le "${screen#* }" ] || fail "$1 is larger than the screen at scale 2"
}
fits "the main window" "$window"
for dialog in "About Kelmor:alt+h a" "Legal Agreement:alt+h h l" "Advanced Options:alt+t o"; do
  title=${dialog%%:*}
  open_dialog "$title" ${dialog#*:}
  shot "scale2-${title// /-}.png"
  fits "$title" "$(visible_window "$title")"
  xdotool key Escape
  wait_until 5 '[ -z "$(visible_window "$title")" ]' || fail "Esc did not close $title"
done
xdotool key --clearmodifiers alt+f x
wait_for_end "File > Exit did not end the program at scale 2"
echo "ok: the window and its dialogs work with the keyboard alone and name every control"
