#!/bin/sh
# kelmorctl exe as a user runs it: kelmorctl is copied into a folder of its own, with a
# stand-in for the kelmor program (its size, its run bit) beside it.
# Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"
mkdir "$tmp/bin" "$tmp/my.recordings" && cp "$ctl" "$tmp/bin/kelmorctl" || exit 1
offset=$(sed -n 's/^#define EMBEDDED_RECORDING_OFFSET \([0-9]*\).*/\1/p' "$src/recording/recording_file.h")
exe() {  # EXPECTED_STATUS EXPECTED_STDERR_PATTERN OUT: makes OUT from keys.klx
  out=$("$tmp/bin/kelmorctl" exe "$tmp/keys.klx" "$3" 2>"$tmp/err")
  status=$?
  err=$(cat "$tmp/err")
  [ "$status" -eq "$1" ] || fail "exe $3: exit $status, expected $1 ($err)"
  case $err in $2) ;; *) fail "exe $3: stderr [$err]" ;; esac
}

printf 'message=WM_KEYDOWN paramH=30 paramL=65 time=100\r\nmessage=WM_KEYUP paramH=30 paramL=65 time=150\r\n' >"$tmp/keys.klx"
exe 1 "kelmorctl exe: the kelmor program is missing: $tmp/bin/kelmor" "$tmp/a.exe"
printf 'not the program' >"$tmp/bin/kelmor"
exe 1 "*is 15 bytes long, not $offset*" "$tmp/a.exe"
[ -e "$tmp/a.exe" ] && fail "an executable was made from a wrong-sized program"

head -c "$offset" /dev/zero >"$tmp/bin/kelmor" && chmod 755 "$tmp/bin/kelmor"
exe 0 "" "$tmp/my.recordings/keys.v2.klx"
made=$tmp/my.recordings/keys.exe
[ "$out" = "$made" ] || fail "made name: $out"
[ -x "$made" ] && [ "$(wc -c <"$made")" -eq $((offset + 40)) ] || fail "made file: $(ls -l "$made")"

# An output that is the program itself, through a link, is refused and the program kept.
cp "$tmp/bin/kelmor" "$tmp/kelmor.orig"
ln -s bin/kelmor "$tmp/link.exe"
exe 1 "Error: Unable to save file '$tmp/link.exe'! It is the program file itself." "$tmp/link.exe"
cmp -s "$tmp/kelmor.orig" "$tmp/bin/kelmor" || fail "the kelmor program was changed"
[ -L "$tmp/link.exe" ] || fail "the link was replaced"

finish "kelmorctl exe"
