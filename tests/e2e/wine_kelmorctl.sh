#!/usr/bin/env bash
# kelmorctl.exe under Wine as a script runs it: info and convert on a recording, exe
# making an executable recording from the Kelmor.exe beside it that types into notepad,
# play typing into notepad and ended by Ctrl+C (kelmorctl.exe record: wine_cross_platform).
# $1 is Kelmor.exe, $2 kelmorctl.exe beside it, $3 the source folder (lib.sh), WINEPREFIX
# a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

# Runs kelmorctl.exe with the expected status; its output, line ends as on Linux, in $out.
ctl() {
  local expected=$1
  shift
  wine "$KELMORCTL" "$@" >"$WORK/ctl.out" 2>&1
  status=$?
  out=$(tr -d '\r' <"$WORK/ctl.out")
  [ "$status" -eq "$expected" ] || fail "kelmorctl.exe $*: exit $status, expected $expected: $out"
}

cd "$WORK" || exit 1
ctl 0 info "$(windows_path "$SRC/examples/demo.klx")"
[ "$out" = "$(printf 'events: 15\ncommands: 9')" ] || fail "info: $out"
# Text -> binary -> text keeps every event.
printf 'message=WM_KEYDOWN paramH=1 paramL=65 time=100\nmessage=WM_SYSKEYUP paramH=-1 paramL=18 time=0\n' >in.klx
ctl 0 convert "$(windows_path "$WORK/in.klx")" "$(windows_path "$WORK/bin")"
[ "$(wc -c <bin.klr)" -eq 40 ] || fail "bin.klr is $(wc -c <bin.klr) bytes long"
ctl 0 convert "$(windows_path "$WORK/bin.klr")" "$(windows_path "$WORK/back.klx")"
tr -d '\r' <back.klx | grep '^message=' | cmp -s - in.klx || fail "text -> binary -> text changed the events: $(cat back.klx)"
ctl 1 convert "$(windows_path "$SRC/examples/demo.klx")" "$(windows_path "$WORK/demo.klr")"
case $out in "Error: This file cannot be saved in the \"KLR\" binary format"*) ;; *) fail "script to binary: $out" ;; esac

# exe copies the Kelmor.exe beside kelmorctl.exe, and says so when there is none.
echo 'TYPE made by kelmorctl.exe{enter}' | notepad_recording "$WORK/made.txt" >made.klx
ctl 0 exe "$(windows_path "$WORK/made.klx")" "$(windows_path "$WORK/Made")"
[ "$out" = "$(windows_path "$WORK/Made.exe")" ] || fail "exe printed: $out"
play_and_expect "$WORK/made.txt" "made by kelmorctl.exe" wine Made.exe
mkdir alone && cp "$KELMORCTL" alone/
KELMORCTL=alone/kelmorctl.exe ctl 1 exe "$(windows_path "$WORK/made.klx")" "$(windows_path "$WORK/none.exe")"
case $out in "kelmorctl exe: the kelmor program is missing: "*'\alone\Kelmor.exe') ;; *) fail "exe alone: $out" ;; esac
[ -e none.exe ] && fail "exe without Kelmor.exe wrote its file"

echo 'TYPE played by kelmorctl.exe @#{enter}' | notepad_recording "$WORK/played.txt" >played.klx
play_and_expect "$WORK/played.txt" "played by kelmorctl.exe @#" \
  wine "$KELMORCTL" play --speed 4 "$(windows_path "$WORK/played.klx")"

# Ctrl+C in its console (Wine makes it of SIGINT) ends a playback as a failure, not as done.
# It comes once the pointer move the playback begins with is seen: one that came before the
# program had started would meet Wine's own handler, which ends a program with 0.
printf 'message=WM_MOUSEMOVE paramH=200 paramL=300 time=1\nWAIT 60 seconds\n' >wait.klx
wine "$KELMORCTL" play "$(windows_path "$WORK/wait.klx")" &
player=$!
wait_until 20 'xdotool getmouselocation | grep -q "^x:300 y:200 "' || fail "the playback did not start"
kill -INT "$player"
wait_until 10 '! kill -0 $player 2>/dev/null' || fail "Ctrl+C did not end the playback"
wait "$player"
status=$?
[ "$status" -eq 1 ] || fail "a playback ended by Ctrl+C exited with $status"
echo "ok: info, convert, exe with and without Kelmor.exe, play, Ctrl+C"
