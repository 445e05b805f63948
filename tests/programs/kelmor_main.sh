#!/bin/sh
# kelmor's own options, which need no display. Arguments: the kelmorctl program (kelmor
# is beside it), the source folder.
. "$(dirname "$0")/lib.sh"
program=$(dirname "$ctl")/kelmor
# A sanitizer build has no kelmor program: it cannot fit its fixed size.
[ -x "$program" ] || { echo "no kelmor program in this build: skipped"; exit 77; }
export DISPLAY=

# The version has one place: the project line of CMakeLists.txt.
version=$(sed -n 's/^project(kelmor VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
for option in --help -h; do
  run 0 "$option"
  case $out in "usage: kelmor FILE"*"/SPEED=1-4"*"kelmor $version") ;; *) fail "kelmor $option printed: $out" ;; esac
  [ -z "$err" ] || fail "kelmor $option said on standard error: $err"
done
run 0 --version
[ "$out" = "kelmor $version" ] || fail "kelmor --version printed: $out"
run 2 --no-such-option
[ "$err" = "kelmor: unknown option '--no-such-option' (see kelmor --help)" ] || fail "unknown option: $err"

# Without a file it is the window, which needs a display; saying so is a failure.
run 1
expect_eq "no display for the window" "$err" 'kelmor: cannot open the X display ""
kelmor: cannot open the window: no display'

# Help that cannot be written is a failure, said on standard error.
"$program" --help >/dev/full 2>"$tmp/err" && fail "kelmor --help >/dev/full: exit 0"
grep -q "kelmor: cannot write standard output" "$tmp/err" || fail "kelmor --help >/dev/full said: $(cat "$tmp/err")"

finish "kelmor options"
