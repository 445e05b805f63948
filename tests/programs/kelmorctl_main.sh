#!/bin/sh
# kelmorctl's standard output that cannot be written: every writer fails, with the reason
# on standard error. Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"

# The program's help, a command's help (both printed by the option parser) and info.
for args in "--help" "info --help" "info $src/examples/demo.klx"; do
  # shellcheck disable=SC2086
  "$ctl" $args >/dev/full 2>"$tmp/err"
  status=$?
  [ "$status" -eq 1 ] || fail "kelmorctl $args >/dev/full: exit $status, expected 1"
  grep -q "^kelmorctl: cannot write standard output" "$tmp/err" || fail "kelmorctl $args >/dev/full said: $(cat "$tmp/err")"
done

finish "kelmorctl output"
