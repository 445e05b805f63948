# Shared by the program tests, sourced with $1 the kelmorctl program and $2 the source
# folder. Each test gets a private folder $tmp holding its settings and log, so the
# user's own stay out of it.
ctl=$1
src=$2
tmp=$(mktemp -d) || exit 1
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
export KELMOR_REGISTRY="$tmp/registry.ini" XDG_CONFIG_HOME="$tmp/config" XDG_STATE_HOME="$tmp/state"
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# run EXPECTED_STATUS ARGS...: runs $program (kelmorctl unless set), keeping stdout in
# $out and stderr in $err; everything written to standard error is also kept in
# $tmp/terminal.
run() {
  expected=$1
  shift
  "${program:-$ctl}" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  out=$(cat "$tmp/out")
  err=$(cat "$tmp/err")
  cat "$tmp/err" >>"$tmp/terminal"
  [ "$status" -eq "$expected" ] || fail "$(basename "${program:-$ctl}") $*: exit $status, expected $expected (stderr: $err)"
}

expect_eq() {  # what actual expected
  [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

expect_in() {  # what text part
  case $2 in *"$3"*) ;; *) fail "$1: [$2] lacks [$3]" ;; esac
}

# finish WHAT: the test's verdict.
finish() {
  [ "$failures" -eq 0 ] || exit 1
  echo "$1: all checks passed"
}
