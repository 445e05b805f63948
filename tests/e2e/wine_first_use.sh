#!/usr/bin/env bash
# Kelmor.exe as a new Windows user first meets it, installed in "Kelmor App\bin" (a folder
# with a blank, named bin): /?, -h and --help show the usage in a box and exit 0; Advanced
# Options opens centred on the window; View Log File opens the log, whose path has a
# blank, in notepad; Auto-Start writes the program's path quoted, and reads it back; F1
# opens the help page beside the program, and a missing page is named in the box; a second
# start brings the window forward. $1 is Kelmor.exe (KelmorService.DLL and the help folder beside
# it), $3 the source folder, $5 a screenshot program and $6 the folder for the pictures
# (both optional), WINEPREFIX a prefix made already.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wine_lib.sh"
KEY='HKCU\Software\Kelmor'
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
BUILT=$(cd "$(dirname "$KELMOR")" && pwd)
APP="$WORK/Kelmor App/bin"
mkdir -p "$APP"
cp "$KELMOR" "$BUILT/KelmorService.DLL" "$APP/"
cp "$BUILT"/help/* "$APP/"
PROGRAM="$APP/Kelmor.exe"

main_window() { xdotool search --onlyvisible --name '^Kelmor' 2>/dev/null | head -n1; }

end_wine_session
wine reg delete "$KEY" /f >/dev/null 2>&1
wine reg delete "$RUN" /v Kelmor /f >/dev/null 2>&1

# The first things tried: the usage in a box, closed with Enter, and status 0.
for asked in /? -h --help; do
  wine "$PROGRAM" "$asked" &
  pid=$!
  answer_window "Kelmor [0-9.]* Command Line" Return "wine-usage${asked//[\/?]/-}.png"
  wait_until 10 '! kill -0 $pid 2>/dev/null' || fail "Kelmor.exe $asked did not end after its box"
  wait "$pid" || fail "Kelmor.exe $asked exited with $?"
done

# The log of a path with a blank, handed to the default editor.
printf 'Log level set to Low\r\n' >"$WORK/Kelmor App/my log.txt"
wine reg add "$KEY" /v Logfile /t REG_SZ /d "$(windows_path "$WORK/Kelmor App/my log.txt")" /f >/dev/null ||
  fail "cannot write the settings"
record_opened_pages

wine "$PROGRAM" &
pid=$!
wait_until 30 '[ -n "$(main_window)" ]' || fail "Kelmor.exe without a file showed no window"
window=$(main_window)
sleep 1
# The Playback tab: the Repeat arrows inside their field.
shot wine-first-window.png
# The About box's OK at the right; Advanced Options centred on the window, which stands
# where the dialog fits around it.
choose h a
answer_window "About Kelmor" Escape wine-about-ok.png
xdotool windowmove "$window" 400 300
sleep 0.5
centre() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
choose t o
wait_until 10 '[ -n "$(visible_window "Advanced Options")" ]' || fail "Tools > Advanced Options opened nothing"
read -r wx wy <<<"$(centre "$window")"
read -r ox oy <<<"$(centre "$(visible_window "Advanced Options")")"
[ $((ox - wx)) -le 30 ] && [ $((wx - ox)) -le 30 ] && [ $((oy - wy)) -le 30 ] && [ $((wy - oy)) -le 30 ] ||
  fail "Advanced Options is centred at $ox,$oy, the window at $wx,$wy"
answer_window "Advanced Options" Escape wine-advanced-centred.png

choose t v
wait_until 15 '[ -n "$(visible_window "my log.txt - Notepad")" ]' ||
  fail "View Log File opened no notepad with the log (windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|'))"
shot wine-log-in-notepad.png
activate "$(visible_window "my log.txt - Notepad")"
xdotool key alt+F4
wait_until 10 '[ -z "$(visible_window "my log.txt - Notepad")" ]' || fail "notepad did not close"

# Auto-Start: the quoted path, so that no prefix of it ("...\Kelmor.exe") runs instead; the
# program knows itself in it and takes it away again.
run_value() { wine reg query "$RUN" /v Kelmor 2>/dev/null | tr -d '\r' | sed -n 's/^ *Kelmor *REG_SZ *//p'; }
choose t a
want="\"$(windows_path "$PROGRAM")\""
wait_until 5 '[ "$(run_value)" = "$want" ]' || fail "Auto-Start wrote '$(run_value)', not '$want'"
choose t a
wait_until 5 '[ -z "$(run_value)" ]' || fail "Auto-Start again left '$(run_value)'"

# F1: the guide beside the program in its bin folder; without it, the box names the page.
activate "$window"
xdotool key F1
wait_until 15 '[ -s "$WORK/opened" ]' || fail "F1 opened nothing"
[ "$(head -n1 "$WORK/opened")" = "file://${APP// /%20}/KelmorGuide.html" ] ||
  fail "F1 opened '$(head -n1 "$WORK/opened")', not the guide beside the program"
rm "$APP/KelmorGuide.html"
activate "$window"
xdotool key F1
answer_window "Kelmor Help" Return wine-help-missing.png
[ "$(wc -l <"$WORK/opened")" -eq 1 ] || fail "a missing page was handed on: $(tail -n1 "$WORK/opened")"

# A second start brings the window forward from behind notepad, with the focus, and ends.
start_notepad
wine "$PROGRAM" &
second=$!
wait_until 20 '! kill -0 $second 2>/dev/null' || fail "the second Kelmor.exe did not end"
wait_until 10 '[ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]' ||
  fail "a second start left '$(xdotool getactivewindow getwindowname 2>/dev/null)' in front"
[ "$(xdotool search --onlyvisible --name '^Kelmor' | wc -l)" -eq 1 ] || fail "a second start opened a second window"
shot wine-second-start.png

choose f x
wait_until 15 '! kill -0 $pid 2>/dev/null' || fail "File > Exit did not end Kelmor.exe"
echo "ok: usage box for /? -h --help, Advanced Options centred, log opened in notepad, Auto-Start quoted," \
  "help beside the program, second start"
