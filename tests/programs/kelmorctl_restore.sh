#!/bin/sh
# kelmorctl restore as a user runs it: a backup read back into the settings store, what
# it skipped on standard output, a refused file leaving the store as it was.
# Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n"Speed"=dword:00000003\r\n"Logfile"="/tmp/a\\\\b.log"\r\n"Colour"=dword:00000001\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\sig]\r\n"Text"=hex(2):25,41,00\r\n' >"$tmp/good.reg"
run 0 restore "$tmp/good.reg"
expect_eq "skipped lines" "$out" "$(printf 'line 6: unknown value "Colour" skipped\n3 values restored, 1 line skipped')"
expect_eq "quiet" "$err" ""
grep -q '^Speed=dword:00000003$' "$tmp/registry.ini" || fail "Speed not in the store"
grep -q '^Logfile=sz:/tmp/a\\\\b.log$' "$tmp/registry.ini" || fail "Logfile not in the store: $(cat "$tmp/registry.ini")"
grep -q '^Text=expand:%A$' "$tmp/registry.ini" || fail "the ShortType's text not in the store"

# A malformed line refuses the whole file: nothing changes.
cp "$tmp/registry.ini" "$tmp/before.ini"
printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kelmor]\n"Speed"=dword:00000001\n"Top"=dword:1x\n' >"$tmp/bad.reg"
run 1 restore "$tmp/bad.reg"
expect_eq "refusal" "$err" "kelmorctl restore: $tmp/bad.reg: line 4: a number that is not hexadecimal; nothing was restored"
cmp -s "$tmp/registry.ini" "$tmp/before.ini" || fail "a refused file changed the store"

# A full backup read back into an empty store writes the same backup again, byte for byte.
printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\118]\n"Action"=dword:00000005\n"Control"=dword:00000001\n"Text"="C:\\\\x \"y\""\n[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\btw]\n"Text"="by the way"\n' >"$tmp/more.reg"
run 0 restore "$tmp/more.reg"
run 0 backup all "$tmp/first.reg"
rm "$tmp/registry.ini"
run 0 restore "$tmp/first.reg"
run 0 backup all "$tmp/second.reg"
cmp -s "$tmp/first.reg" "$tmp/second.reg" || fail "backup, restore, backup changed the file: $(diff "$tmp/first.reg" "$tmp/second.reg")"
grep -q 'ShortType\\btw\]' "$tmp/second.reg" || fail "the round trip lost the ShortType"

run 1 restore "$tmp/missing.reg"
expect_eq "missing" "$err" "kelmorctl restore: $tmp/missing.reg: no such file; nothing was restored"
run 1 restore
finish "kelmorctl restore"
