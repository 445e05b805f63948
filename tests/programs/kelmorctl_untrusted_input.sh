#!/bin/sh
# kelmorctl given files and arguments that are too big, odd or hostile: nothing is done on
# part of a recording, nothing from a file reaches the terminal raw, a key is named whole.
# Arguments: the kelmorctl program, the source folder.
. "$(dirname "$0")/lib.sh"
# No desktop: nothing that gets past the checks can record or play.
export DISPLAY=:77

# One event more than a recording holds, in either form; commands beyond their limit.
awk 'BEGIN { for (i = 0; i <= 32766; i++) print "message=WM_KEYUP paramH=0 paramL=65" }' >"$tmp/big.klx"
head -c 655340 /dev/zero | tr '\0' '\1' >"$tmp/big.klr"
awk 'BEGIN { for (i = 0; i <= 2047; i++) print "TYPE " i }' >"$tmp/many.klx"
for file in big.klx big.klr many.klx; do
  run 1 info "$tmp/$file"
  expect_in "info $file" "$out" "(the file holds more; cut)"
  for command in convert exe; do
    run 1 $command "$tmp/$file" "$tmp/out-$command.klx"
    expect_in "$command $file" "$err" "kelmorctl $command: nothing written"
    [ -e "$tmp/out-$command.klx" ] || [ -e "$tmp/out-$command.exe" ] && fail "$command $file wrote a file"
  done
  run 1 play "$tmp/$file"
  expect_in "play $file" "$err" "kelmorctl play: nothing played"
done
expect_in "message" "$err" "Too many script commands!"
run 1 info "$tmp/big.klr"
expect_in "event limit" "$err" "Error: Only the first 32766 actions of '$tmp/big.klr' were loaded."
# Exactly full is whole.
head -c 655320 "$tmp/big.klr" >"$tmp/full.klr"
run 0 info "$tmp/full.klr"
[ "$out" = "$(printf 'events: 32766\ncommands: 0')" ] || fail "full: $out"

# Escape sequences from a file, or in a name, are shown escaped, UTF-8 letters as they are.
printf 'PRESS \033]0;owned\007\033[2J \302\233 caf\303\251 \377\n' >"$tmp/escape.klx"
run 1 info "$tmp/escape.klx"
expect_in "escaped line" "$err" '"PRESS \x1b]0;owned\x07\x1b[2J \xc2\x9b café \xff"'
run 1 info "$tmp/$(printf 'a\033[2Jb').klx"
expect_in "escaped name" "$err" "Unable to open file '$tmp/a\\x1b[2Jb.klx'"
run 1 "$(printf 'x\033c')"
expect_in "escaped command" "$err" "unknown command 'x\\x1bc'"
run 1 play --speed "$(printf '9\033c')" "$tmp/full.klr"
expect_in "escaped option" "$err" "not '9\\x1bc'"
if LC_ALL=C grep -q "$(printf '[\001-\010\013-\037\177]')" "$tmp/terminal"; then
  fail "a control character reached the terminal"
fi

# A stop key is a whole key name, in any case; nothing is recorded otherwise.
run 1 record --stop-key NoSuchKey --seconds 1 "$tmp/rec.klr"
[ "$err" = "kelmorctl record: no key is named 'NoSuchKey'" ] || fail "unknown key: $err"
run 1 record --stop-key scrolllock --seconds 1 "$tmp/rec.klr"
case $err in *"no key is named"*) fail "ScrollLock refused: $err" ;; esac

finish "kelmorctl with untrusted input"
