# Shared by the tests under Wine, sourced after lib.sh: Windows names of files, and the
# round trips through Wine's notepad that tell what a playback or a person typed, and the
# pages and addresses handed on to the desktop.
export WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$WORK"' EXIT

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# A recording, on standard output, that starts notepad, plays the recording lines read from
# standard input into it, then saves notepad's text as $1: Ctrl+S, the name, Enter.
notepad_recording() {
  printf 'START notepad.exe\nWAIT 3 seconds\nGOTO Notepad\n'
  cat
  printf 'TYPE {ctrldown}\nTYPE s\nTYPE {ctrlup}\nWAIT 2 seconds\nTYPE %s{enter}\nWAIT 1 second\n' \
    "$(windows_path "$1")"
}

# Runs the command, which must exit 0, and compares the file notepad saved with the text
# and a line end; then ends what the session still runs.
play_and_expect() {
  local saved=$1 text=$2
  shift 2
  timeout 60 "$@" || fail "'$*' exited with $?"
  wait_until 10 '[ -s "$saved" ]' || fail "notepad saved no $saved"
  printf '%s\r\n' "$text" >"$WORK/expected"
  cmp -s "$saved" "$WORK/expected" || { od -c "$saved" >&2; fail "$saved does not hold '$text' as typed"; }
  end_wine_session
}

# Ends every program of the prefix and waits until they are gone, so that the next start
# finds a fresh session.
end_wine_session() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}

# Starts a fresh notepad and gives it the focus; sets $notepad.
start_notepad() {
  wine notepad.exe &
  wait_until 20 '[ -n "$(visible_window "Untitled - Notepad")" ]' || fail "notepad did not start"
  notepad=$(visible_window "Untitled - Notepad")
  # Beside the window at the top left, so that both show in the pictures.
  xdotool windowmove "$notepad" 340 24
  activate "$notepad"
  sleep 1.5
}

# Saves what the notepad of start_notepad holds as the file $1 through its Save As, as a
# person does, and closes it.
save_notepad() {
  local saved=$1
  activate "$notepad"
  xdotool key ctrl+s
  wait_until 10 '[ -n "$(visible_window "Save As")" ]' || fail "notepad showed no Save As"
  sleep 0.5
  xdotool type --delay 20 "$(windows_path "$saved")"
  xdotool key Return
  wait_until 10 '[ -s "$saved" ]' || fail "notepad saved no $saved"
  activate "$notepad"
  xdotool key alt+F4
  wait_until 10 '! xdotool getwindowname "$notepad" >/dev/null 2>&1' || fail "notepad did not close"
}

# Wine's shell hands pages and addresses to winebrowser, and that to xdg-open: the one put
# on PATH here writes each down as a line of $WORK/opened. A page goes there as an .html
# file, which a prefix made without Wine's HTML engine does not know.
record_opened_pages() {
  wine reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null || fail "cannot make .html a web page"
  mkdir -p "$WORK/opener"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$WORK/opened" >"$WORK/opener/xdg-open"
  chmod +x "$WORK/opener/xdg-open"
  export PATH="$WORK/opener:$PATH"
}

# Chooses a menu item of the window $window by its letters (Alt+menu, then the item's),
# as a person does.
choose() {
  activate "$window"
  xdotool key "alt+$1"
  sleep 0.4
  xdotool key "$2"
  sleep 0.6
}
