# Shared by the kelmorctl tests, sourced with the test's arguments: $1 the kelmorctl
# program, $2 the source folder. Each test gets a private folder $tmp and settings of its own.
ctl=$1
src=$2
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
# The user's settings and log stay out of it.
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run EXPECTED_STATUS ARGS...: runs kelmorctl, keeping stdout in $out and stderr in $err;
# everything it wrote to standard error is also kept in $tmp/terminal.
run() {
  expected=$1
  shift
  "$ctl" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  out=$(cat "$tmp/out")
  err=$(cat "$tmp/err")
  cat "$tmp/err" >>"$tmp/terminal"
  [ "$status" -eq "$expected" ] || fail "kelmorctl $*: exit $status, expected $expected (stderr: $err)"
}

expect_eq() {  # what actual expected
  [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}
