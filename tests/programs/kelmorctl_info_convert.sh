#!/bin/sh
# kelmorctl info and convert as a user runs them: output, exit status and files.
# Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"
# A small file system mounted for the full-disk case goes before the folder does.
trap 'umount "$tmp/small" 2>/dev/null; chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT

size_of() { wc -c <"$1" | tr -d ' '; }

run 0 --help
case $out in *"info FILE"*"convert IN OUT"*) ;; *) fail "--help does not list the commands: $out" ;; esac
run 1
run 1 frobnicate x
run 1 info
run 1 info a b
# Options as terminal tools spell them, also after the arguments; -- ends them.
run 0 info "$src/examples/demo.klx" --help
case $out in "Usage:"*"kelmorctl info [OPTION...] FILE"*) ;; *) fail "info --help: $out" ;; esac
run 1 play "$src/examples/demo.klx" --speed=5
expect_eq "--speed=5" "$err" "kelmorctl play: --speed takes a number from 1 to 4, not '5'"
run 1 play -s
expect_eq "-s without a value" "$err" "kelmorctl play: Missing argument for -s"
run 1 info --continuous "$src/examples/demo.klx"
expect_eq "another command's option" "$err" "kelmorctl info: Unknown option --continuous"
run 1 info -- --continuous
expect_in "a name after --" "$err" "Unable to open file '--continuous'"

# The shipped example loads.
run 0 info "$src/examples/demo.klx"
expect_eq "demo counts" "$out" "$(printf 'events: 15\ncommands: 9')"
expect_eq "demo stderr" "$err" ""

# A script cannot become binary: refused before anything is written.
run 1 convert "$src/examples/demo.klx" "$tmp/demo.klr"
expect_eq "refusal" "$err" 'Error: This file cannot be saved in the "KLR" binary format since it appears to contain script commands or empty messages. Try re-saving it in the "KLX" text format.'
[ -e "$tmp/demo.klr" ] && fail "a refused conversion created its file"

# A script saved as text keeps its commands, and saves again to the same bytes.
run 0 convert "$src/examples/demo.klx" "$tmp/demo2.klx"
run 0 info "$tmp/demo2.klx"
expect_eq "script round trip" "$out" "$(printf 'events: 15\ncommands: 9')"
run 0 convert "$tmp/demo2.klx" "$tmp/demo3.klx"
cmp -s "$tmp/demo2.klx" "$tmp/demo3.klx" || fail "a script saved twice differs"

# Text -> binary (".klr" added to a name without a dot, though the folder has one) -> text.
printf 'message=WM_KEYDOWN paramH=1 paramL=65 time=100\r\nmessage=WM_SYSKEYUP paramH=-1 paramL=18\nmessage=700 paramH=2 paramL=3 time=-5\n' >"$tmp/in.klx"
run 0 info "$tmp/in.klx"
expect_eq "text counts" "$out" "$(printf 'events: 3\ncommands: 0')"
run 0 convert "$tmp/in.klx" "$tmp/bin"
[ -f "$tmp/bin.klr" ] || fail "convert did not write bin.klr"
expect_eq "binary size" "$(size_of "$tmp/bin.klr")" 60
expect_eq "first record" "$(od -An -tu4 -N20 "$tmp/bin.klr" | tr -s ' \n' ' ')" " 256 65 1 100 0 "
run 0 info "$tmp/bin.klr"
expect_eq "binary counts" "$out" "$(printf 'events: 3\ncommands: 0')"
run 0 convert "$tmp/bin.klr" "$tmp/back.txt"
expect_eq "header line 1" "$(head -n 1 "$tmp/back.txt")" "$(printf '; This file was created by Kelmor (https://kelmor.example.org) \r')"
expect_eq "header lines" "$(grep -c '^;' "$tmp/back.txt")" 20
expect_eq "event lines" "$(tail -n 3 "$tmp/back.txt")" "$(printf 'message=WM_KEYDOWN paramH=1 paramL=65 time=100\r\nmessage=WM_SYSKEYUP paramH=-1 paramL=18 time=0\r\nmessage=700 paramH=2 paramL=3 time=-5\r')"

# Failures: a missing file, an executable name, nothing to save.
run 1 info "$tmp/missing.klx"
expect_eq "missing file" "$err" "Error: Unable to open file '$tmp/missing.klx'! (-2) Please verify that the file exists."
run 1 convert "$tmp/in.klx" "$tmp/x.exe"
[ -e "$tmp/x.exe" ] && fail "convert wrote an executable"
printf '; only a comment\n' >"$tmp/empty.klx"
run 1 convert "$tmp/empty.klx" "$tmp/e.klx"
case $err in "Save Error: There are no actions"*) ;; *) fail "empty recording: $err" ;; esac
# info says so too, and fails: play and convert refuse such a file.
run 1 info "$tmp/empty.klx"
expect_eq "empty counts" "$out" "$(printf 'events: 0\ncommands: 0')"
case $err in "Error: There are no actions"*) ;; *) fail "info of an empty recording: $err" ;; esac
run 1 convert "$tmp/in.klx" "$tmp/no/such/folder/x.klx"
expect_eq "unwritable" "$err" "Error: Unable to save file '$tmp/no/such/folder/x.klx'! No such file or directory."

# The running program is never written over (a copy runs, so a fault costs only the copy).
cp "$ctl" "$tmp/ctl" && ln -s ctl "$tmp/ctl.klx"
"$tmp/ctl" convert "$tmp/in.klx" "$tmp/ctl.klx" 2>"$tmp/err"
expect_eq "onto itself" "$?:$(cat "$tmp/err")" "1:Error: Unable to save file '$tmp/ctl.klx'! It is the program file itself."
cmp -s "$ctl" "$tmp/ctl" || fail "convert wrote over the running program"

# A device is written under its own name, a pipe too.
run 0 convert "$tmp/bin.klr" /dev/null
"$ctl" convert "$tmp/bin.klr" /dev/stdout | cmp -s - "$tmp/back.txt" || fail "convert to a pipe"

# A full disk (a small file system of its own, where this runs as root): the old file
# stays byte for byte and no temporary file is left.
if [ "$(id -u)" -eq 0 ] && mkdir "$tmp/small" && mount -t tmpfs -o size=64k tmpfs "$tmp/small" 2>/dev/null; then
  awk 'BEGIN { for (i = 0; i < 8000; i++) printf "message=WM_KEYDOWN paramH=1 paramL=%d time=%d\n", i % 200, i }' >"$tmp/big.klx"
  cp "$tmp/bin.klr" "$tmp/small/rec.klr"
  cp "$tmp/back.txt" "$tmp/small/rec.klx"
  run 1 convert "$tmp/big.klx" "$tmp/small/rec.klr"
  expect_eq "disk full" "$err" "Error: Unable to save file '$tmp/small/rec.klr'! No space left on device."
  cmp -s "$tmp/bin.klr" "$tmp/small/rec.klr" || fail "a full disk cut the old binary file"
  run 1 convert "$tmp/big.klx" "$tmp/small/rec.klx"
  cmp -s "$tmp/back.txt" "$tmp/small/rec.klx" || fail "a full disk cut the old text file"
  expect_eq "left on the full disk" "$(ls -A "$tmp/small" | tr '\n' ' ')" "rec.klr rec.klx "
  umount "$tmp/small"
else
  echo "skipped: a full disk needs root and tmpfs"
fi

finish "kelmorctl info and convert"
