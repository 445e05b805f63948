# The keyboard service of the running window under the layouts people type in. ShortTypes
# are matched on the characters the keys make: a digit typed with Shift on AZERTY is a
# digit, and é is not 2. A ShortType and a Mapping typing text beyond ASCII leave the next
# hot key working. A Mapping on a key that moves between layouts follows the layout while
# the window runs: its key is taken where the new layout puts it, and the key now in its
# old place reaches programs.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
printf '[SOFTWARE\\Kelmor\\ShortType]\n' >"$KELMOR_REGISTRY"
for entry in 'a1=alpha one' 'r2=deux' 'mfg=Mit freundlichen Grüßen'; do
  printf '[SOFTWARE\\Kelmor\\ShortType\\%s]\nText=sz:%s\n' "${entry%%=*}" "${entry#*=}" >>"$KELMOR_REGISTRY"
done
store_mapping 89 5 "42" 1       # Ctrl+Y
store_mapping 118 5 "Straße" 1  # Ctrl+F7

# Makes $1 the layout while the window runs, and types into the probe.
switch_to() {
  layout=$1
  use_layout "$layout"
  sleep 0.3
  focus_window "Kelmor key probe"
}

start_probe "Kelmor key probe"
start_window "service under layouts"

# ShortTypes with a digit fire on AZERTY too (its digits need Shift), "ré" is no "r2"
# there, and right after a ShortType typed text beyond ASCII a hot key acts. Each row's
# keys come once the text before them is through; wanted is what the probe read since
# the layout was made.
while IFS='|' read -r layout keys wanted; do
  if [ "$layout" != "${current:-}" ]; then
    switch_to "$layout"
    current=$layout
    mark=$(probe_mark)
  fi
  case $keys in
    key:*) xdotool key "${keys#key:}" ;;
    *) xdotool type --delay 100 "$keys" ;;
  esac
  expect_probe_text "$mark" "$wanted" "$layout"
done <<'ROWS'
us|r2|r2\b\bdeux
us| a1|r2\b\bdeux a1\b\balpha one
fr|ré r2|ré r2\b\bdeux
fr| a1|ré r2\b\bdeux a1\b\balpha one
de|mfg|mfg\b\b\bMit freundlichen Grüßen
de|key:ctrl+F7|mfg\b\b\bMit freundlichen GrüßenStraße
ROWS

# Ctrl+Y, taken where each layout puts its letter (under ru, where the US keyboard has
# it); Ctrl+Z reaches the program, wherever it was taken before.
while read -r layout key wanted; do
  [ "$layout" = "$current" ] || switch_to "$layout"
  current=$layout
  mark=$(probe_mark)
  xdotool key "$key"
  expect_probe "$mark" "$wanted"
done <<'ROWS'
de ctrl+y 42
de ctrl+z <ctrl+z>
us ctrl+z <ctrl+z>
us ctrl+y 42
ru ctrl+Cyrillic_ya <ctrl+Cyrillic_ya>
ru ctrl+Cyrillic_en 42
de ctrl+z <ctrl+z>
de ctrl+y 42
ROWS
setxkbmap us
echo "ok: ShortTypes matched characters and the Mapping followed the layout"
