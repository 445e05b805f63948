# Shared by the end-to-end tests. Each test runs on its own Xvfb (tests/e2e/with-xvfb)
# and gets: $1 the kelmor program, $2 kelmorctl, $3 the source folder, $4 a program that
# prints the keys and buttons held down on the server, $5 one that writes a screenshot
# as PNG, $6 the folder the screenshots are kept in, $7 one that tells where the window's
# toolbar buttons are and whether they are greyed, $8 a window that logs the key events
# it receives (key_probe.cpp), $9 one that tells where a colour is drawn in a window
# (colour_place.cpp).
set -u
KELMOR=$1
KELMORCTL=$2
SRC=$3
HELD_INPUT=${4:-}
SCREENSHOT=${5:-}
ARTEFACTS=${6:-}
TOOLBAR_PLACES=${7:-}
KEY_PROBE=${8:-}
COLOUR_PLACE=${9:-}
WORK=$(mktemp -d)
# Settings, log and autostart files of this run stay in the run's own folder; so do the
# toolkit's own settings, which have no session bus to go to here.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"

# Everything written on standard error, the programs' too, is kept: a warning or critical
# message of GTK, GDK or GLib from the program fails a test that passed otherwise.
exec 2> >(tee "$WORK/stderr" >&2)
STDERR_TEE=$!
finish() {
  local status=$? complaints
  kill $(jobs -p) 2>/dev/null
  exec 2>&-
  # A program the test started through kelmor (a terminal) may still hold the pipe open:
  # tee gets a moment to write what it has, it is not waited for.
  local tries=50
  while kill -0 "$STDERR_TEE" 2>/dev/null && [ $tries -gt 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
  complaints=$(grep -E '^\(kelmor[^:]*:[0-9]+\): [A-Za-z]+-(CRITICAL|WARNING) \*\*' "$WORK/stderr" 2>/dev/null)
  rm -rf "$WORK"
  if [ "$status" -eq 0 ] && [ -n "$complaints" ]; then
    printf 'FAIL: the program complained on standard error:\n%s\n' "$complaints"
    exit 1
  fi
  exit "$status"
}
trap finish EXIT

# Ends the test as failed, keeping a picture of the screen as it was.
fail() {
  echo "FAIL: $*" >&2
  if [ -n "$SCREENSHOT" ] && [ -n "$ARTEFACTS" ] && mkdir -p "$ARTEFACTS"; then
    "$SCREENSHOT" "$ARTEFACTS/failed-$(basename "$0" .sh).png"
  fi
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

# Plays the recording $2 with the kelmor program $1 at full speed into a fresh terminal
# titled $3, which must then have received the text $4 (printf format).
play_into_terminal() {
  local program=$1 recording=$2 title=$3 text=$4
  start_cat_terminal "$title" "$WORK/$title.txt"
  focus_window "$title"
  run_limited 60 "$program" "$recording" /SPEED=4
  [ "$status" -eq 0 ] || fail "$(basename "$program") exited with $status playing $recording"
  expect_file "$WORK/$title.txt" "$text"
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
  wait_for_end "the program did not exit after the dialog '$title'"
}

# A DWORD setting of the store at $KELMOR_REGISTRY, in hex as the store writes it.
setting() {
  sed -n "s/^$1=dword:\([0-9a-f]*\)$/\1/p" "$KELMOR_REGISTRY" 2>/dev/null
}

# Clicks the screen point ($1, $2) and gives the window a moment to take it.
click_at() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.4
}

# Keeps a picture of the screen among the artefacts under the given name.
shot() {
  [ -n "$SCREENSHOT" ] && [ -n "$ARTEFACTS" ] || return 0
  mkdir -p "$ARTEFACTS"
  "$SCREENSHOT" "$ARTEFACTS/$1" || fail "no screenshot $1"
}

# The screen point "x y" of the drawn picture filled with the colour $1 (RRGGBB); $2 says
# where it was looked for.
find_colour() { "$SCREENSHOT" --find "$1" || fail "no picture of colour $1 on the screen ($2)"; }

# The id of the visible window titled exactly $1 (empty when none).
visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }

window_of_kelmor() { xdotool search --onlyvisible --class Kelmor 2>/dev/null | head -n1; }

activate() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }

# Waits for the window titled $1 (a dialog or box), keeps a screenshot named $3 (if given),
# answers it with the key $2 and waits until it is gone.
answer_window() {
  local answered_title=$1
  wait_until 10 '[ -n "$(visible_window "$answered_title")" ]' || fail "no window titled '$1'"
  sleep 0.5
  [ -z "${3:-}" ] || shot "$3"
  activate "$(visible_window "$1")"
  xdotool key "$2"
  wait_until 10 '[ -z "$(visible_window "$answered_title")" ]' || fail "$2 did not close '$1'"
}

# Starts kelmor with no argument and gives its window the focus; sets $pid and $window.
start_window() {
  local started
  started=$(date +%s%N)
  "$KELMOR" &
  pid=$!
  wait_until 20 '[ -n "$(window_of_kelmor)" ]' || fail "no window of class Kelmor ($1)"
  echo "launch to window ($1): $((($(date +%s%N) - started) / 1000000)) ms"
  window=$(window_of_kelmor)
  activate "$window"
  sleep 0.3
}

# Waits for the file dialog titled $1 (Open or Save As), types the path $2 into it as a
# person would and accepts it with Enter; waits until it is gone. Given a name $3, keeps a
# screenshot of the dialog with the path typed.
choose_in_file_dialog() {
  local title=$1 path=$2 picture=${3:-} dialog
  wait_until 10 '[ -n "$(visible_window "$title")" ]' || fail "no file dialog '$title'"
  dialog=$(visible_window "$title")
  activate "$dialog"
  sleep 0.3
  # Open: Ctrl+L shows the location field (a '/' typed into the list is lost to it).
  # Save As: the name field has the focus, its proposal selected; Ctrl+A selects it all.
  if [ "$title" = Open ]; then xdotool key ctrl+l; else xdotool key ctrl+a; fi
  sleep 0.3
  xdotool type --delay 20 "$path"
  sleep 0.3
  [ -z "$picture" ] || shot "$picture"
  xdotool key Return
  wait_until 10 '[ -z "$(visible_window "$title")" ]' || fail "the file dialog '$title' did not take $path"
}

# The toolbar as the window $1 shows it now: one "x y enabled|greyed" line per button,
# left to right (see toolbar_places.cpp). A button under the pointer is framed, so the
# pointer first rests on the window's bottom corner; the answer counts once two readings
# agree (the frame fades out, a state may be changing).
toolbar_now() {
  local now last="" tries=0 height
  height=$(xdotool getwindowgeometry --shell "$1" | sed -n 's/^HEIGHT=//p')
  xdotool mousemove --window "$1" 4 $((${height:-8} - 4))
  while [ $tries -lt 30 ]; do
    now=$("$TOOLBAR_PLACES" "$1" 2>/dev/null)
    if [ "$(echo "$now" | wc -l)" -eq 9 ] && [ "$now" = "$last" ]; then
      echo "$now"
      return 0
    fi
    last=$now
    sleep 0.1
    tries=$((tries + 1))
  done
  fail "no toolbar of nine buttons found on window $1: $now"
}

toolbar_position() {
  case $1 in
    New) echo 1 ;; Open) echo 2 ;; SaveAs) echo 3 ;; StartRecording) echo 4 ;; StopRecording) echo 5 ;;
    Playback) echo 6 ;; UserCommand) echo 7 ;; AdvancedOptions) echo 8 ;; Help) echo 9 ;;
    *) fail "no toolbar button $1" ;;
  esac
}

# Clicks the toolbar button named by its tip (without blanks) on the window $2.
click_toolbar() {
  local place
  place=$(toolbar_now "$2" | sed -n "$(toolbar_position "$1")p" | cut -d' ' -f1,2)
  [ -n "$place" ] || fail "no toolbar button $1 on the window"
  xdotool mousemove --sync $place click 1
}

# The states of the toolbar buttons named, as "Name:enabled Name:greyed ...".
toolbar_states() {
  local window=$1 now name out=""
  shift
  now=$(toolbar_now "$window")
  for name in "$@"; do
    out="$out $name:$(echo "$now" | sed -n "$(toolbar_position "$name")p" | cut -d' ' -f3)"
  done
  echo "${out# }"
}

# Makes a small script the desktop's default handler for web pages and for https and
# mailto addresses, through this run's own mimeapps.list: whatever a program opens "in
# the browser" is appended to the file $1, one line each, the way the desktop's opener
# hands it over (a page as a file URI or a path, an address as it is).
record_default_handlers() {
  export XDG_DATA_HOME="$WORK/data"
  mkdir -p "$XDG_DATA_HOME/applications" "$WORK/handler"
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$1" >"$WORK/handler/browser"
  chmod +x "$WORK/handler/browser"
  printf '[Desktop Entry]\nType=Application\nName=Test browser\nExec=%s %%u\nNoDisplay=true\nMimeType=text/html;x-scheme-handler/https;x-scheme-handler/mailto;\n' \
    "$WORK/handler/browser" >"$XDG_DATA_HOME/applications/kelmor-test-browser.desktop"
  printf '[Default Applications]\n' >"$XDG_CONFIG_HOME/mimeapps.list"
  for type in text/html x-scheme-handler/https x-scheme-handler/mailto; do
    printf '%s=kelmor-test-browser.desktop\n' "$type" >>"$XDG_CONFIG_HOME/mimeapps.list"
  done
}

# Waits for the program $pid to end (the message says what should have ended it) and sets
# $status to its exit status.
wait_for_end() {
  wait_until 10 '! kill -0 $pid 2>/dev/null' || fail "$1"
  wait "$pid"
  status=$?
}

# Starts the key probe titled $1, logging into $PROBE_LOG, and waits for its window.
start_probe() {
  PROBE_LOG="$WORK/probe.log"
  [ -n "$KEY_PROBE" ] || fail "no key probe program"
  "$KEY_PROBE" "$1" >"$PROBE_LOG" &
  wait_until 10 'grep -q ^ready "$PROBE_LOG"' || fail "the key probe did not start"
}

# The number of events the probe has logged so far, to look only at what comes after.
probe_mark() { wc -l <"$PROBE_LOG"; }

# What the probe received after mark $1, as typed text: a printable key as its character
# ("space" as a blank), any other key as <KEYSYM>, a key pressed with Ctrl as <ctrl+KEYSYM>;
# Ctrl and Shift themselves show only in what they do to the other keys.
probe_typed_since() {
  tail -n +$(($1 + 1)) "$PROBE_LOG" | awk '$1 == "press" && $2 !~ /^(Control|Shift)_/ {
      key = $2 == "space" ? " " : length($2) == 1 ? $2 : "<" $2 ">"
      if (int($5) % 8 >= 4) key = "<ctrl+" $2 ">"
      printf "%s", key }'
}

# What the probe received after mark $1 as text, as a program reading text gets it (the
# probe's TEXT column): the characters only; keys that make none leave nothing.
probe_text_since() {
  local hex
  hex=$(tail -n +$(($1 + 1)) "$PROBE_LOG" | awk '$1 == "press" && NF >= 6 && $6 != "-" { printf "%s", $6 }')
  printf "$(printf '%s' "$hex" | sed 's/../\\x&/g')"
}

# Waits until what the probe received after mark $1 is exactly $2.
expect_probe() {
  local mark=$1 want=$2 seconds=${3:-10}
  wait_until "$seconds" '[ "$(probe_typed_since $mark)" = "$want" ]' ||
    fail "the probe received '$(probe_typed_since "$mark")', not '$want'"
}

# Adds to the store file a Mapping of the virtual key $1 (decimal) with the action code $2
# and the text $3, with Ctrl held when $4 is 1.
store_mapping() {
  printf '[SOFTWARE\\Kelmor\\Mappings\\%s]\nAction=dword:%08x\nControl=dword:%08x\nText=sz:%s\n' \
    "$1" "$2" "${4:-0}" "$3" >>"$KELMOR_REGISTRY"
}

# Waits until the text the probe read after mark $1 is $2 (printf format); $3 says when.
expect_probe_text() {
  probe_text_mark=$1
  printf "$2" >"$WORK/wanted-text"
  wait_until 10 '[ "$(probe_text_since $probe_text_mark)" = "$(cat "$WORK/wanted-text")" ]' ||
    fail "$3: the probe read '$(probe_text_since "$probe_text_mark")', not '$(cat "$WORK/wanted-text")'"
}

# Makes $1 the server's keyboard layout, as a desktop does. The server keeps it while any
# client is connected (with-xvfb starts it with -noreset).
use_layout() {
  setxkbmap "$1" || fail "setxkbmap $1"
  xkbcomp -xkb "$DISPLAY" - 2>/dev/null | grep -q "xkb_symbols.*+$1[+(\"]" || fail "the layout did not become $1"
}
