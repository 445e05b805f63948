# The Keyboard and ShortType tabs as a person uses them: a Mapping's action and text
# chosen, its keys captured in the Keys field (Ctrl and Shift reach the field rather than
# the window's shortcuts), added with the gadget; a ShortType typed and added. The store
# holds both afterwards, and the lists show them.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# The Keyboard tab first.
printf '[SOFTWARE\\Kelmor]\nLastTab=dword:00000003\n' >"$KELMOR_REGISTRY"
# The fill colours of the add and delete gadgets' badges.
ADD_BADGE=26a633
DELETE_BADGE=d9271a

# Clicks the add gadget; the keyboard service takes the change without a word.
add_with_gadget() {
  local at
  at=$(find_colour $ADD_BADGE "$1")
  xdotool mousemove $at
  sleep 0.2
  xdotool click 1
  sleep 0.5
  [ -z "$(visible_window "Service Not Active")" ] || fail "the service did not take the change ($1)"
  shot "editors-$1-added.png"
}
# The value $2 of key $1 as the store file holds it.
stored() {
  # Through the environment: awk -v would read the backslashes as escapes.
  KEY="[$1]" NAME="$2=" awk '$0 == ENVIRON["KEY"] { inside = 1; next } /^\[/ { inside = 0 }
    inside && index($0, ENVIRON["NAME"]) == 1 { print substr($0, length(ENVIRON["NAME"]) + 1) }' "$KELMOR_REGISTRY"
}

MAPPING='SOFTWARE\Kelmor\Mappings\118'   # F7
SHORTTYPE='SOFTWARE\Kelmor\ShortType\bw'

start_window "editors"
# The delete gadget stands at the left of the fields' column, the rows above it.
read -r x y <<<"$(find_colour $DELETE_BADGE "Keyboard tab")"
click_at $((x + 40)) $((y - 100))   # the Action list opens
xdotool key Down Down Down Down Down Return
sleep 0.3
click_at $((x + 40)) $((y - 50))   # the Text field
xdotool type --delay 20 "Typed by a Mapping"
xdotool key --clearmodifiers alt+k
sleep 0.3
xdotool key ctrl+shift+F7
sleep 0.3
shot editors-keyboard.png
add_with_gadget keyboard
wait_until 5 '[ "$(stored "$MAPPING" Action)" = dword:00000005 ]' ||
  fail "no type-text Mapping on F7 stored: $(cat "$KELMOR_REGISTRY")"
[ "$(stored "$MAPPING" Control)$(stored "$MAPPING" Shift)$(stored "$MAPPING" Alt)" = dword:00000001dword:00000001dword:00000000 ] ||
  fail "the modifiers stored are not Ctrl + Shift: $(cat "$KELMOR_REGISTRY")"
[ "$(stored "$MAPPING" Text)" = "sz:Typed by a Mapping" ] || fail "the Text stored: $(cat "$KELMOR_REGISTRY")"

# Alt reaches the field too, rather than opening the File menu. The Action list has the focus
# after an add: Playback is three entries down.
activate "$window"
xdotool key Down Down Down
xdotool key --clearmodifiers alt+k
sleep 0.3
xdotool key alt+f
sleep 0.3
shot editors-alt.png
add_with_gadget alt
ALT_MAPPING='SOFTWARE\Kelmor\Mappings\70'
wait_until 5 '[ "$(stored "$ALT_MAPPING" Action)$(stored "$ALT_MAPPING" Alt)" = dword:00000003dword:00000001 ]' ||
  fail "no Alt + F Playback Mapping stored: $(cat "$KELMOR_REGISTRY")"

xdotool key --clearmodifiers ctrl+Next
sleep 0.4
read -r x y <<<"$(find_colour $DELETE_BADGE "ShortType tab")"
click_at $((x + 40)) $((y - 100))   # the abbreviation field
# Capitals and other marks do not reach an abbreviation.
xdotool type --delay 20 "bT=w"
click_at $((x + 40)) $((y - 50))   # the Replace text field
xdotool type --delay 20 "by the way"
shot editors-shorttype.png
add_with_gadget shorttype
wait_until 5 '[ "$(stored "$SHORTTYPE" Text)" = "sz:by the way" ]' ||
  fail "no ShortType bw stored: $(cat "$KELMOR_REGISTRY")"
echo "ok: a Mapping and a ShortType added through the window are in the store"
