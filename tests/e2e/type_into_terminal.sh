# A script started by `kelmor FILE` opens a terminal running cat, finds it by part of
# its title and types into it: the text cat receives is exactly the expanded script.
. "$(dirname "$0")/lib.sh"

received="$WORK/received.txt"
cat >"$WORK/typing.klx" <<KLX
START xterm -T "Kelmor typing target" -geometry 80x20+0+0 -e sh -c "exec cat > '$received'"
WAIT 2
GOTO typing target
TYPE Hello, World! 1+1=2 (a|b) [c] ~\`'"\\ <>?_%^&*#@\$;:,./
TYPE {enter}
TYPE A{tab}B{space}{space}C{enter}
TYPE {shiftdown}
TYPE shifted
TYPE {shiftup}
TYPE {space}plain{enter}
TYPE Pass {playbackloop}: {random} on {date}{enter}
KLX

run_limited 60 "$KELMOR" "$WORK/typing.klx"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
wait_until 10 '[ "$(wc -l <"$received")" -ge 4 ]' || { cat "$received" >&2; fail "not all lines arrived"; }
head -n3 "$received" >"$WORK/first3.txt"
expect_file "$WORK/first3.txt" 'Hello, World! 1+1=2 (a|b) [c] ~`'"'"'"\\ <>?_%%^&*#@$;:,./\nA\tB  C\nSHIFTED plain\n'
last=$(sed -n 4p "$received")
today=$(date +%m/%d/%Y)
echo "$last" | grep -Eq "^Pass 1: [0-9]{4} on $today\$" || fail "fourth line is '$last'"
echo "ok: typed text arrived exactly"
