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

# A full backup read back into an empty store writes the same backup again, byte for byte,
# a recent file whose name holds a line end too.
printf 'REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\118]\n"Action"=dword:00000005\n"Control"=dword:00000001\n"Text"="C:\\\\x \"y\""\n[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\btw]\n"Text"="by the way"\n' >"$tmp/more.reg"
printf '[HKEY_CURRENT_USER\\Software\\Kelmor]\n"File1"=hex(1):2f,74,77,6f,0a,6c,69,6e,65,73,00\n' >>"$tmp/more.reg"
run 0 restore "$tmp/more.reg"
grep -qx 'File1=sz:/two\\nlines' "$tmp/registry.ini" || fail "File1 not in the store: $(cat "$tmp/registry.ini")"
run 0 backup all "$tmp/first.reg"
rm "$tmp/registry.ini"
run 0 restore "$tmp/first.reg"
run 0 backup all "$tmp/second.reg"
cmp -s "$tmp/first.reg" "$tmp/second.reg" || fail "backup, restore, backup changed the file: $(diff "$tmp/first.reg" "$tmp/second.reg")"
grep -q 'ShortType\\btw\]' "$tmp/second.reg" || fail "the round trip lost the ShortType"

# As the registry editor exports in UTF-16: the same values as the same file in 8 bits.
rm "$tmp/registry.ini"
{ printf '\377\376'; iconv -f UTF-8 -t UTF-16LE <"$tmp/first.reg"; } >"$tmp/wide.reg"
run 0 restore "$tmp/wide.reg"
run 0 backup all "$tmp/third.reg"
cmp -s "$tmp/first.reg" "$tmp/third.reg" || fail "the UTF-16 file restored otherwise: $(diff "$tmp/first.reg" "$tmp/third.reg")"

# A disk that takes only part of what is restored: nothing is, the store is as it was.
cp "$tmp/registry.ini" "$tmp/before.ini"
{
  printf 'REGEDIT4\n'
  for n in $(seq 10 70); do printf '[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\st%d]\n"Text"="some text %d"\n' "$n" "$n"; done
} >"$tmp/many.reg"
blocks=$(($(wc -c <"$tmp/registry.ini") / 512 + 1))
(trap '' XFSZ; ulimit -f "$blocks" && exec "$ctl" restore "$tmp/many.reg") >"$tmp/out" 2>"$tmp/err"
expect_eq "disk full" "$?:$(cat "$tmp/err")" "1:kelmorctl restore: $tmp/many.reg: cannot write the settings store: File too large; nothing was restored"
cmp -s "$tmp/registry.ini" "$tmp/before.ini" || fail "a restore that could not be written changed the store"

run 1 restore "$tmp/missing.reg"
expect_eq "missing" "$err" "kelmorctl restore: $tmp/missing.reg: no such file; nothing was restored"
run 1 restore
finish "kelmorctl restore"
