#!/usr/bin/env bash
# Recordings crossing platforms: keys typed while the Linux kelmorctl records play the same
# text into Wine's notepad, and keys typed while kelmorctl.exe records under Wine (its
# low-level hooks) play the same text into a Linux terminal through the Linux kelmor. Both
# recordings hold the same events, virtual-key and scan codes included, whichever side
# reads them. $1 is Kelmor.exe, $2 kelmorctl.exe, $3 the source folder (lib.sh), $4 a
# Linux build folder (kelmorctl and kelmor); WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
LINUX=${4:-}
if [ -z "$LINUX" ]; then
  echo "SKIP: no Linux build folder given (configure with -DKELMOR_LINUX_BUILD=FOLDER)"
  exit 77
fi
[ -x "$LINUX/kelmorctl" ] && [ -x "$LINUX/kelmor" ] || fail "no kelmorctl and kelmor in $LINUX"

# Shifted characters and keys that are no letters: punctuation, digits, Tab, Enter.
TEXT='Kelmor: A+b=C? ~/x_1;'

# Runs the recorder command while a person types the text, Tab and Enter, then the stop key.
record_typing() {
  rm -f "$WORK/record.out"
  "$@" >"$WORK/record.out" 2>&1 &
  local recorder=$!
  wait_until 20 'grep -qs "kelmorctl: recording" "$WORK/record.out"' ||
    fail "the recorder did not start: $(cat "$WORK/record.out")"
  xdotool type --delay 40 "$TEXT"
  xdotool key Tab Return
  sleep 0.2
  xdotool key F12
  wait "$recorder" || fail "'$*' exited with $?: $(cat "$WORK/record.out")"
}

# The events of a recording as a text save of the given kelmorctl writes them, times left out.
events() {
  local ctl=$1 recording=$2
  rm -f "$WORK/events.klx"
  if [ "$ctl" = "$KELMORCTL" ]; then
    wine "$ctl" convert "$(windows_path "$recording")" "$(windows_path "$WORK/events.klx")" >/dev/null 2>&1
  else
    "$ctl" convert "$recording" "$WORK/events.klx" >/dev/null 2>&1
  fi || fail "$ctl could not convert $recording"
  tr -d '\r' <"$WORK/events.klx" | sed -n 's/^\(message=.*\) time=[0-9-]*$/\1/p'
}

# A virtual key and scan code as the file holds them (paramL: vk | scan << 8), on a line.
decoded() {
  while read -r message repeats code; do
    code=${code#paramL=}
    echo "$message $repeats vk=$((code & 255)) scan=$((code >> 8 & 255))"
  done
}

cd "$WORK" || exit 1
start_cat_terminal "Linux source" "$WORK/typed.txt"
focus_window "Linux source"
record_typing "$LINUX/kelmorctl" record "$WORK/linux.klr" --stop-key F12 --seconds 30
expect_file "$WORK/typed.txt" "$TEXT\t\n"

wine notepad &
wait_until 30 '[ -n "$(window_named Notepad)" ]' || fail "notepad did not start"
activate "$(window_named Notepad)"
sleep 1
record_typing wine "$KELMORCTL" record --stop-key F12 --seconds 30 "$(windows_path "$WORK/windows.klr")"
end_wine_session

# The same events, whichever recorder made them and whichever side reads them.
events "$LINUX/kelmorctl" "$WORK/linux.klr" >linux.events
events "$LINUX/kelmorctl" "$WORK/windows.klr" >windows.events
events "$KELMORCTL" "$WORK/linux.klr" >linux-read-on-windows.events
[ "$(grep -c WM_KEYDOWN linux.events)" -ge 20 ] || fail "the Linux recording holds too few keys: $(cat linux.events)"
decoded <linux.events >linux.keys
decoded <windows.events >windows.keys
diff linux.keys windows.keys >&2 || fail "the recordings made on Linux and under Wine differ"
cmp -s linux.events linux-read-on-windows.events || fail "kelmorctl.exe reads the Linux recording differently"
# Shift and A by their Windows codes: VK_SHIFT 16 with scan code 42, 'A' 65 with 30.
grep -qx 'message=WM_KEYDOWN paramH=1 vk=16 scan=42' linux.keys || fail "no Shift among the keys: $(cat linux.keys)"
grep -qx 'message=WM_KEYDOWN paramH=1 vk=65 scan=30' linux.keys || fail "no A among the keys"

# Made on Linux, played under Wine by Kelmor.exe into notepad.
notepad_recording "$WORK/from-linux.txt" <linux.events >from-linux.klx
play_and_expect "$WORK/from-linux.txt" "$TEXT	" wine "$KELMOR" "$(windows_path "$WORK/from-linux.klx")" /SPEED=4

# Made under Wine, played by the Linux kelmor into a terminal.
play_into_terminal "$LINUX/kelmor" "$WORK/windows.klr" "Linux target" "$TEXT\t\n"
echo "ok: $(grep -c . linux.keys) events the same both ways; each side typed '$TEXT'"
