#!/bin/sh
# kelmorctl backup: the settings as a REGEDIT4 script, written whole or not at all, the
# store only read. Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"

printf '[SOFTWARE\\Kelmor]\nLeft=dword:fffffffc\nLastTab=dword:00000003\nLogfile=sz:/var/log/k\\\\x.log\n' >"$KELMOR_REGISTRY"
printf 'IsWindowsXP=dword:00000001\nFile1=sz:/home/u/a "b".klx\n' >>"$KELMOR_REGISTRY"
printf '[SOFTWARE\\Kelmor\\Mappings\\65]\nAction=dword:00000006\nText=expand:%%HOME%%/bin/go\n' >>"$KELMOR_REGISTRY"
printf '[SOFTWARE\\Kelmor\\ShortType\\brb]\nText=sz:be right back\n' >>"$KELMOR_REGISTRY"
cp "$KELMOR_REGISTRY" "$tmp/store.before"

# crlf: standard input with every line ended by CR LF, as the file has them.
crlf() { sed 's/$/\r/'; }

run 0 backup mappings "$tmp/m.reg"
crlf >"$tmp/m.expected" <<'END'
REGEDIT4

[HKEY_CURRENT_USER\Software\Kelmor\Mappings]

[HKEY_CURRENT_USER\Software\Kelmor\Mappings\65]
"Action"=dword:00000006
"Control"=dword:00000000
"Shift"=dword:00000000
"Alt"=dword:00000000
"Text"=hex(2):25,48,4f,4d,45,25,2f,62,69,6e,2f,67,6f,00
END
cmp -s "$tmp/m.expected" "$tmp/m.reg" || fail "mappings: $(od -c "$tmp/m.reg" | head -20)"

# Without a window, its place and tab are the stored ones.
run 0 backup all "$tmp/a.reg"
for line in '"Left"=dword:fffffffc' '"LastTab"=dword:00000003' '"Logfile"="/var/log/k\\x.log"' \
  '"File1"="/home/u/a "b".klx"' '[HKEY_CURRENT_USER\Software\Kelmor\ShortType\brb]'; do
  grep -qxF "$line$(printf '\r')" "$tmp/a.reg" || fail "all: no line $line"
done
grep -q IsWindowsXP "$tmp/a.reg" && fail "all: IsWindowsXP is not exported"
run 0 backup basic "$tmp/b.reg"
expect_eq "basic is the head of all" "$(head -c "$(wc -c <"$tmp/b.reg")" "$tmp/a.reg" | cmp - "$tmp/b.reg" && echo same)" same
run 0 backup shorttypes "$tmp/s.reg"
expect_eq "shorttypes" "$(tr -d '\r' <"$tmp/s.reg" | tail -n 1)" '"Text"=hex(2):62,65,20,72,69,67,68,74,20,62,61,63,6b,00'
cmp -s "$tmp/store.before" "$KELMOR_REGISTRY" || fail "a backup changed the store"

# Onto the store itself, by whatever name: refused, the store as it was.
ln -s "$KELMOR_REGISTRY" "$tmp/store.reg"
for name in "$KELMOR_REGISTRY" "$tmp/store.reg"; do
  run 1 backup all "$name"
  expect_eq "onto the store" "$err" "Error: Unable to save file '$name'! It is the settings file itself."
done
cmp -s "$tmp/store.before" "$KELMOR_REGISTRY" || fail "a backup onto the store changed it"

run 1 backup everything "$tmp/x.reg"
expect_eq "unknown part" "$err" "kelmorctl backup: unknown part 'everything' (all, basic, mappings or shorttypes)"
run 1 backup all
run 1 backup all "$tmp/no/such/folder/x.reg"
expect_eq "unwritable" "$err" "Error: Unable to save file '$tmp/no/such/folder/x.reg'! No such file or directory."

# A full disk says so, also when the store was read on after the first write failed.
for n in $(seq 1 60); do
  printf '[SOFTWARE\\Kelmor\\Mappings\\%d]\nAction=dword:00000005\nText=sz:a text long enough for a line or two\n' "$n"
done >>"$KELMOR_REGISTRY"
run 1 backup all /dev/full
expect_eq "full device" "$err" "Error: Unable to save file '/dev/full'! No space left on device."

# A full disk (a small file system of its own, where this runs as root): the old backup
# stays byte for byte and no temporary file is left.
if [ "$(id -u)" -eq 0 ] && mkdir "$tmp/small" && mount -t tmpfs -o size=16k tmpfs "$tmp/small" 2>/dev/null; then
  cp "$tmp/m.reg" "$tmp/small/old.reg"
  dd if=/dev/zero of="$tmp/small/filler" bs=1k count=64 2>/dev/null
  run 1 backup all "$tmp/small/old.reg"
  expect_eq "disk full" "$err" "Error: Unable to save file '$tmp/small/old.reg'! No space left on device."
  cmp -s "$tmp/m.reg" "$tmp/small/old.reg" || fail "a full disk cut the old backup"
  expect_eq "left on the full disk" "$(ls -A "$tmp/small" | tr '\n' ' ')" "filler old.reg "
  umount "$tmp/small"
else
  echo "skipped: a full disk needs root and tmpfs"
fi

finish "kelmorctl backup"
