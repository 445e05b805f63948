#!/usr/bin/env bash
# Kelmor.exe under Wine plays a text recording into Wine's notepad, which then saves
# what it received: once named on the command line, once as an executable recording
# (the program with the recording behind it); a recorded pointer move lands where it was
# recorded; Ctrl+Esc and the end of the session stop a playback with a failure status.
# $1 is Kelmor.exe, $3 the source folder (lib.sh), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# The recording saves notepad's text into $1 itself: Ctrl+S, the name, Enter.
write_recording() {
  cat <<KLX
START notepad.exe
WAIT 3 seconds
GOTO Notepad
TYPE $2{enter}
TYPE {ctrldown}
TYPE s
TYPE {ctrlup}
WAIT 2 seconds
TYPE $(windows_path "$1"){enter}
WAIT 1 second
KLX
}

# Runs the command, which must exit 0, and compares the file notepad saved.
play_and_expect() {
  local saved=$1 text=$2
  shift 2
  timeout 60 "$@" || fail "'$*' exited with $?"
  wait_until 10 '[ -s "$saved" ]' || fail "notepad saved no $saved"
  printf '%s\r\n' "$text" >"$WORK/expected"
  cmp -s "$saved" "$WORK/expected" || { od -c "$saved" >&2; fail "$saved does not hold '$text' as typed"; }
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}

cd "$WORK" || exit 1
write_recording "$WORK/typed.txt" "Hello, Wine 1+2=3!" >typed.klx
play_and_expect "$WORK/typed.txt" "Hello, Wine 1+2=3!" wine "$KELMOR" "$(windows_path "$WORK/typed.klx")" /SPEED=4

# An executable recording: the program file (exactly the offset long), the text behind it.
write_recording "$WORK/played.txt" "played by itself" >played.klx
cat "$KELMOR" played.klx >Played.exe
play_and_expect "$WORK/played.txt" "played by itself" wine Played.exe

# A recorded pointer move lands on its very pixel of the screen, then the playback waits.
printf 'START notepad.exe\nWAIT 2 seconds\nGOTO Notepad\nmessage=WM_MOUSEMOVE paramH=411 paramL=637 time=1\nWAIT 60 seconds\n' >cancel.klx
wine "$KELMOR" "$(windows_path "$WORK/cancel.klx")" &
player=$!
wait_until 20 '[ -n "$(window_named Notepad)" ]' || fail "notepad did not start"
sleep 3
pointer=$(xdotool getmouselocation)
case "$pointer" in "x:637 y:411 "*) ;; *) fail "the pointer went to $pointer, not 637,411" ;; esac
xdotool key ctrl+Escape
answer_dialog_then_wait "Playbacks Completed" "$player"
[ "$status" -ne 0 ] || fail "a cancelled playback exited with 0"
# The cancelled playback's notepad goes first: the session's end below is asked of every
# program, and one still starting or busy may hold it up.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
# The end of the session (WM_QUERYENDSESSION, WM_ENDSESSION) ends a playback with a failure.
printf 'WAIT 60 seconds\n' >wait.klx
wine "$KELMOR" "$(windows_path "$WORK/wait.klx")" &
player=$!
sleep 3
wineboot --end-session || fail "wineboot --end-session failed"
wait_until 10 '! kill -0 $player 2>/dev/null' || fail "the playback outlived the session"
wait "$player"
[ $? -ne 0 ] || fail "a playback ended with the session exited with 0"
echo "ok: typed, played by itself, cancelled, ended with the session"
