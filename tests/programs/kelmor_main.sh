#!/bin/sh
# kelmor's own options, which need no display. Arguments: the kelmorctl program (kelmor
# is beside it), the source folder.
kelmor=$(dirname "$1")/kelmor
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state" DISPLAY=
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run EXPECTED_STATUS ARGS...: runs kelmor, keeping stdout in $out and stderr in $err.
run() {
  expected=$1
  shift
  "$kelmor" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  out=$(cat "$tmp/out")
  err=$(cat "$tmp/err")
  [ "$status" -eq "$expected" ] || fail "kelmor $*: exit $status, expected $expected (stderr: $err)"
}

version=$(sed -n 's/^#define KELMOR_VERSION_TEXT "\(.*\)"$/\1/p' "$2/ui/version.h")
for option in --help -h; do
  run 0 "$option"
  case $out in "usage: kelmor FILE"*"/SPEED=1-4"*"kelmor $version") ;; *) fail "kelmor $option printed: $out" ;; esac
  [ -z "$err" ] || fail "kelmor $option said on standard error: $err"
done
run 0 --version
[ "$out" = "kelmor $version" ] || fail "kelmor --version printed: $out"
run 2 --no-such-option
[ "$err" = "kelmor: unknown option '--no-such-option' (see kelmor --help)" ] || fail "unknown option: $err"

# Help that cannot be written is a failure, said on standard error.
"$kelmor" --help >/dev/full 2>"$tmp/err" && fail "kelmor --help >/dev/full: exit 0"
grep -q "kelmor: cannot write standard output" "$tmp/err" || fail "kelmor --help >/dev/full said: $(cat "$tmp/err")"

[ "$failures" -eq 0 ] || exit 1
echo "kelmor options: all checks passed"
