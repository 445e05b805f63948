# Shared by the tests under Wine, sourced after lib.sh: Windows names of files, and the
# round trip through Wine's notepad that tells what a playback typed.
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
