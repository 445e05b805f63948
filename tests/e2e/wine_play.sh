#!/usr/bin/env bash
# Kelmor.exe under Wine plays a text recording into Wine's notepad, which then saves
# what it received: once named on the command line, once as an executable recording
# (the program with the recording behind it); a recorded pointer move lands where it was
# recorded; Ctrl+Esc and the end of the session stop a playback with a failure status.
# $1 is Kelmor.exe, $3 the source folder (lib.sh), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

cd "$WORK" || exit 1
echo 'TYPE Hello, Wine 1+2=3!{enter}' | notepad_recording "$WORK/typed.txt" >typed.klx
play_and_expect "$WORK/typed.txt" "Hello, Wine 1+2=3!" wine "$KELMOR" "$(windows_path "$WORK/typed.klx")" /SPEED=4

# An executable recording: the program file (exactly the offset long), the text behind it.
echo 'TYPE played by itself{enter}' | notepad_recording "$WORK/played.txt" >played.klx
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
end_wine_session
# The end of the session (WM_QUERYENDSESSION, WM_ENDSESSION) ends a playback with a failure,
# once its first pointer move shows that it plays.
printf 'message=WM_MOUSEMOVE paramH=200 paramL=300 time=1\nWAIT 60 seconds\n' >wait.klx
wine "$KELMOR" "$(windows_path "$WORK/wait.klx")" &
player=$!
wait_until 20 'xdotool getmouselocation | grep -q "^x:300 y:200 "' || fail "the playback did not start"
wine wineboot --end-session || fail "wineboot --end-session failed"
wait_until 10 '! kill -0 $player 2>/dev/null' || fail "the playback outlived the session"
wait "$player"
[ $? -ne 0 ] || fail "a playback ended with the session exited with 0"
echo "ok: typed, played by itself, cancelled, ended with the session"
