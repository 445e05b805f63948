#!/bin/sh
# kelmorctl's standard output that cannot be written: every writer fails, with the reason
# on standard error. Arguments: the kelmorctl program, the source folder.
ctl=$1
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The program's help, a command's help (both printed by the option parser) and info.
for args in "--help" "info --help" "info $2/examples/demo.klx"; do
  # shellcheck disable=SC2086
  "$ctl" $args >/dev/full 2>"$tmp/err"
  status=$?
  [ "$status" -eq 1 ] || fail "kelmorctl $args >/dev/full: exit $status, expected 1"
  grep -q "^kelmorctl: cannot write standard output" "$tmp/err" || fail "kelmorctl $args >/dev/full said: $(cat "$tmp/err")"
done

[ "$failures" -eq 0 ] || exit 1
echo "kelmorctl output: all checks passed"
