#!/bin/sh
# kelmorctl exe as a user runs it. kelmorctl is copied into a folder of its own, where a
# stand-in for the kelmor program (its size, its run bit) can be put beside it.
# Arguments: the kelmorctl program, the source folder.
src=$2
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
mkdir "$tmp/bin" "$tmp/my.recordings" && cp "$1" "$tmp/bin/kelmorctl" || exit 1
ctl=$tmp/bin/kelmorctl
offset=$(sed -n 's/^#define EMBEDDED_RECORDING_OFFSET \([0-9]*\).*/\1/p' "$src/recording/recording_file.h")
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
run() {  # EXPECTED_STATUS ARGS...: stdout in $out, stderr in $err
  expected=$1
  shift
  "$ctl" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  out=$(cat "$tmp/out")
  err=$(cat "$tmp/err")
  [ "$status" -eq "$expected" ] || fail "kelmorctl $*: exit $status, expected $expected (stderr: $err)"
}
expect_eq() {  # what actual expected
  [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}
size_of() { wc -c <"$1" | tr -d ' '; }

printf 'message=WM_KEYDOWN paramH=30 paramL=65 time=100\r\nmessage=WM_KEYUP paramH=30 paramL=65 time=150\r\n' >"$tmp/keys.klx"
run 1 exe "$tmp/keys.klx" "$tmp/a.exe"
expect_eq "no program" "$err" "kelmorctl exe: the kelmor program is missing: $tmp/bin/kelmor"
printf 'not the program' >"$tmp/bin/kelmor"
run 1 exe "$tmp/keys.klx" "$tmp/a.exe"
case $err in *"is 15 bytes long, not $offset"*) ;; *) fail "wrong-sized program: $err" ;; esac
[ -e "$tmp/a.exe" ] && fail "an executable was made from a wrong-sized program"

head -c "$offset" /dev/zero >"$tmp/bin/kelmor" && chmod 755 "$tmp/bin/kelmor"
# The extension goes; the dot of the folder stays.
run 0 exe "$tmp/keys.klx" "$tmp/my.recordings/keys.v2.klx"
made=$tmp/my.recordings/keys.exe
expect_eq "made name" "$out" "$made"
expect_eq "made size" "$(size_of "$made")" $((offset + 40))
[ -x "$made" ] || fail "the made file cannot be run"
cmp -s -n "$offset" "$made" "$tmp/bin/kelmor" || fail "the program part differs"
run 0 info "$made"
expect_eq "made counts" "$out" "$(printf 'events: 2\ncommands: 0')"

# A script travels as its text, so its commands come along.
run 0 exe "$src/examples/demo.klx" "$tmp/demo"
expect_eq "script size" "$(size_of "$tmp/demo.exe")" $((offset + $(size_of "$src/examples/demo.klx")))
run 0 info "$tmp/demo.exe"
expect_eq "script counts" "$out" "$(printf 'events: 15\ncommands: 9')"

printf '; nothing\n' >"$tmp/empty.klx"
run 1 exe "$tmp/empty.klx" "$tmp/e.exe"
case $err in "Save Error: There are no actions"*) ;; *) fail "empty recording: $err" ;; esac

[ "$failures" -eq 0 ] || exit 1
echo "kelmorctl exe: all checks passed"
