# Shared by the Wayland end-to-end tests: $1 kelmorctl, $2 the source folder, $3 the
# receiving window (wayland_receiver.cpp), $4 the kelmor program. Each test runs its own
# headless compositor; sway refuses to run as root, so a test started as root runs it as
# an unprivileged user made for the purpose, with a runtime folder of that user's own.
set -u
KELMORCTL=$1
SRC=$2
RECEIVER=$3
KELMOR=${4:-}
WORK=$(mktemp -d)
chmod 0755 "$WORK"
trap 'kill $(jobs -p) 2>/dev/null; sleep 0.2; rm -rf "$WORK"' EXIT
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME"
unset DISPLAY WAYLAND_DISPLAY KELMOR_BACKEND
export XDG_RUNTIME_DIR="$WORK/runtime"
COMPOSITOR_USER=""
if [ "$(id -u)" -eq 0 ]; then
  COMPOSITOR_USER=kelmor-compositor
  id "$COMPOSITOR_USER" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$COMPOSITOR_USER"
fi
mkdir -m 0700 "$XDG_RUNTIME_DIR"
[ -z "$COMPOSITOR_USER" ] || chown "$COMPOSITOR_USER" "$XDG_RUNTIME_DIR"

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK/compositor.log" ] && tail -n 20 "$WORK/compositor.log" >&2
  exit 1
}

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

# Runs a compositor command as the compositor's user, in the test's runtime folder.
as_compositor_user() {
  if [ -n "$COMPOSITOR_USER" ]; then
    runuser -u "$COMPOSITOR_USER" -- env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" HOME="$XDG_RUNTIME_DIR" "$@"
  else
    "$@"
  fi
}

# Starts a compositor (sway or weston, headless) and sets WAYLAND_DISPLAY to its socket.
start_compositor() {
  local kind=$1
  command -v "$kind" >/dev/null || { echo "SKIP: no $kind installed"; exit 77; }
  if [ "$kind" = sway ]; then
    # No border or title bar: a window's own coordinates are the screen's less its place.
    printf 'output HEADLESS-1 resolution 1280x1024\nxwayland disable\ndefault_border none\n' >"$XDG_RUNTIME_DIR/sway.conf"
    chmod 0644 "$XDG_RUNTIME_DIR/sway.conf"
    as_compositor_user env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
      sway -c "$XDG_RUNTIME_DIR/sway.conf" >"$WORK/compositor.log" 2>&1 &
  else
    as_compositor_user weston --backend=headless-backend.so --socket=wayland-1 >"$WORK/compositor.log" 2>&1 &
  fi
  wait_until 20 '[ -S "$(ls "$XDG_RUNTIME_DIR"/wayland-[0-9] 2>/dev/null | head -n1)" ]' ||
    fail "$kind did not start"
  export WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-[0-9] | head -n1)")
  if [ "$kind" = sway ]; then
    export SWAYSOCK
    wait_until 10 'SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n1); [ -S "$SWAYSOCK" ]' ||
      fail "sway's IPC socket did not appear"
  fi
}

# Opens a receiving window titled $1 logging to $2 and waits until it has the focus.
start_receiver() {
  local title=$1 log=$2
  "$RECEIVER" "$title" "$log" &
  wait_until 10 'grep -q " focus" "$log" 2>/dev/null' || fail "window '$title' got no focus"
}

# The characters a log received, one string.
received_text() {
  sed -n 's/^[0-9.]* char //p' "$1" | tr -d '\n'
}
