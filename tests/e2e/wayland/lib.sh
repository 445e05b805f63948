# Shared by the Wayland end-to-end tests, on top of the X11 ones' (../lib.sh): $1 the kelmor
# program, $2 kelmorctl, $3 the source folder, $4 the receiving window
# (wayland_receiver.cpp). Each test runs its own headless compositor; sway refuses to run
# as root, so a test started as root runs it as an unprivileged user made for the
# purpose, with a runtime folder of that user's own.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh" "$1" "$2" "$3"
RECEIVER=$4
chmod 0755 "$WORK"
# The compositor goes last: its clients end with it.
trap 'kill $(jobs -p) 2>/dev/null; sleep 0.2; [ -z "${COMPOSITOR_PID:-}" ] || kill "$COMPOSITOR_PID" 2>/dev/null;
      rm -rf "$WORK"' EXIT
unset DISPLAY WAYLAND_DISPLAY KELMOR_BACKEND
export XDG_RUNTIME_DIR="$WORK/runtime"
COMPOSITOR_USER=""
if [ "$(id -u)" -eq 0 ]; then
  COMPOSITOR_USER=kelmor-compositor
  # Tests run side by side may make the user at the same moment; one of them wins.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    id "$COMPOSITOR_USER" >/dev/null 2>&1 && break
    useradd --system --no-create-home --shell /usr/sbin/nologin "$COMPOSITOR_USER" 2>/dev/null || sleep 0.3
  done
  id "$COMPOSITOR_USER" >/dev/null 2>&1 || fail "cannot make the user $COMPOSITOR_USER"
fi
mkdir -m 0700 "$XDG_RUNTIME_DIR"
[ -z "$COMPOSITOR_USER" ] || chown "$COMPOSITOR_USER" "$XDG_RUNTIME_DIR"

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/compositor.log" ] && tail -n 20 "$WORK/compositor.log" >&2
  exit 1
}

# Runs a command as the compositor's user, in the test's runtime folder. setpriv takes the
# command's place rather than waiting for it, so that "${AS_COMPOSITOR_USER[@]}" CMD &
# leaves the command itself in $! for the end of the test to stop.
AS_COMPOSITOR_USER=(env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR")
if [ -n "$COMPOSITOR_USER" ]; then
  AS_COMPOSITOR_USER=(setpriv --reuid="$COMPOSITOR_USER" --regid="$COMPOSITOR_USER" --clear-groups --
    env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" HOME="$XDG_RUNTIME_DIR")
fi

# Starts a compositor (sway or weston, headless; sway-xwayland is sway with Xwayland, whose
# display goes to XWAYLAND_DISPLAY) and sets WAYLAND_DISPLAY to its socket.
start_compositor() {
  local kind=$1 xwayland="xwayland disable"
  if [ "$kind" = sway-xwayland ]; then
    command -v Xwayland >/dev/null || { echo "SKIP: no Xwayland installed"; exit 77; }
    kind=sway
    xwayland="xwayland enable\nexec sh -c 'echo \$DISPLAY >\$XDG_RUNTIME_DIR/x-display'"
  fi
  command -v "$kind" >/dev/null || { echo "SKIP: no $kind installed"; exit 77; }
  if [ "$kind" = sway ]; then
    # No border or title bar: a window's own coordinates are the screen's less its place.
    printf "output HEADLESS-1 resolution 1280x1024\n$xwayland\ndefault_border none\n" >"$XDG_RUNTIME_DIR/sway.conf"
    chmod 0644 "$XDG_RUNTIME_DIR/sway.conf"
    "${AS_COMPOSITOR_USER[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
      sway -c "$XDG_RUNTIME_DIR/sway.conf" >"$WORK/compositor.log" 2>&1 &
  else
    "${AS_COMPOSITOR_USER[@]}" weston --backend=headless-backend.so --socket=wayland-1 >"$WORK/compositor.log" 2>&1 &
  fi
  COMPOSITOR_PID=$!
  wait_until 20 '[ -S "$(ls "$XDG_RUNTIME_DIR"/wayland-[0-9] 2>/dev/null | head -n1)" ]' ||
    fail "$kind did not start"
  export WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-[0-9] | head -n1)")
  if [ "$kind" = sway ]; then
    export SWAYSOCK
    wait_until 10 'SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n1); [ -S "$SWAYSOCK" ]' ||
      fail "sway's IPC socket did not appear"
  fi
  if [ "$xwayland" != "xwayland disable" ]; then
    wait_until 10 '[ -s "$XDG_RUNTIME_DIR/x-display" ]' || fail "sway started no Xwayland"
    XWAYLAND_DISPLAY=$(cat "$XDG_RUNTIME_DIR/x-display")
  fi
}

# Opens a receiving window titled $1 logging to $2 (stalling $3 ms after every 500th
# character when given) and waits until it has the focus.
start_receiver() {
  local title=$1 log=$2
  "$RECEIVER" "$title" "$log" ${3:+"$3"} &
  wait_until 10 'grep -q " focus" "$log" 2>/dev/null' || fail "window '$title' got no focus"
}

# The characters a log received, one string.
received_text() {
  sed -n 's/^[0-9.]* char //p' "$1" | tr -d '\n'
}
