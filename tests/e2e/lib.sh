# Shared by the end-to-end tests. Each test runs on its own Xvfb (tests/e2e/with-xvfb)
# and gets: $1 the kelmor program, $2 kelmorctl, $3 the source folder, $4 a program that
# prints the keys and buttons held down on the server, $5 one that writes a screenshot
# as PNG, $6 the folder the screenshots are kept in.
set -u
KELMOR=$1
KELMORCTL=$2
SRC=$3
HELD_INPUT=${4:-}
SCREENSHOT=${5:-}
ARTEFACTS=${6:-}
WORK=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT
# Settings, log and autostart files of this run stay in the run's own folder.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Polls a shell condition every 0.1 s; false after the given seconds. The condition is
# evaluated here, so it must name variables, not the caller's positional parameters.
wait_until() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  while [ $tries -gt 0 ]; do
    eval "$@" && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# The id of the first window whose title holds the text (empty when none).
window_named() {
  xdotool search --name "$1" 2>/dev/null | head -n1
}

# Starts an xterm titled $1 running cat into the file $2 and waits for its window.
start_cat_terminal() {
  local title=$1 file=$2
  xterm -T "$title" -geometry 80x20+0+0 -e sh -c 'exec cat > "$0"' "$file" &
  wait_until 10 '[ -n "$(window_named "$title")" ] && [ -e "$file" ]' || fail "terminal '$title' did not appear"
}

# Gives the window the keyboard focus (and raises it) the way a user would.
focus_window() {
  local w
  w=$(window_named "$1")
  [ -n "$w" ] || fail "no window '$1'"
  xdotool windowraise "$w" windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
}

# Waits until the file holds exactly the expected bytes (printf format: \n, \t);
# shows both on failure.
expect_file() {
  local file=$1 seconds=${3:-10}
  printf "$2" >"$WORK/expected"
  if ! wait_until "$seconds" 'cmp -s "$file" "$WORK/expected"'; then
    echo "--- expected:" >&2
    od -c "$WORK/expected" >&2
    echo "--- received:" >&2
    od -c "$file" >&2
    fail "$file does not hold the expected text"
  fi
}

# Runs a command with a time limit; sets $status to its exit status (124: timed out).
run_limited() {
  local seconds=$1
  shift
  timeout "$seconds" "$@"
  status=$?
}

# Waits for the dialog titled $1, answers it with Enter (its default button) and waits
# for the process $2 to end; sets $status to its exit status. A dialog may be mapped a
# moment before it takes keys, so Enter is pressed again while the dialog is still up.
answer_dialog_then_wait() {
  local title=$1 pid=$2 tries=0 dialog
  wait_until 10 '[ -n "$(xdotool search --onlyvisible --name "$title" 2>/dev/null)" ]' ||
    fail "no dialog '$title'"
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 20 ]; do
    dialog=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1)
    if [ -n "$dialog" ]; then
      xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog" 2>/dev/null
      xdotool key --window "$dialog" Return 2>/dev/null || xdotool key Return
    fi
    tries=$((tries + 1))
    wait_until 1 '! kill -0 $pid 2>/dev/null' && break
  done
  wait_until 10 '! kill -0 $pid 2>/dev/null' || fail "the program did not exit after the dialog '$title'"
  wait "$pid"
  status=$?
}

# The window tests' helpers. A DWORD setting of the store in $KELMOR_REGISTRY, as hex.
setting() {
  sed -n "s/^$1=dword:\([0-9a-f]*\)$/\1/p" "$KELMOR_REGISTRY" 2>/dev/null
}

# Keeps a screenshot of the whole screen under the name given, when the test has where.
shot() {
  [ -n "$SCREENSHOT" ] && [ -n "$ARTEFACTS" ] || return 0
  mkdir -p "$ARTEFACTS"
  "$SCREENSHOT" "$ARTEFACTS/$1" || fail "no screenshot $1"
}

window_of_kelmor() { xdotool search --onlyvisible --class Kelmor 2>/dev/null | head -n1; }

# Starts kelmor with no argument and gives its window the focus; sets $pid and $window.
start_window() {
  local started
  started=$(date +%s%N)
  "$KELMOR" &
  pid=$!
  wait_until 20 '[ -n "$(window_of_kelmor)" ]' || fail "no window of class Kelmor ($1)"
  echo "launch to window ($1): $((($(date +%s%N) - started) / 1000000)) ms"
  window=$(window_of_kelmor)
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 0.3
}

# Waits for the program $pid to end (the message says what should have ended it) and sets
# $status to its exit status.
wait_for_end() {
  wait_until 10 '! kill -0 $pid 2>/dev/null' || fail "$1"
  wait "$pid"
  status=$?
}
