# Mappings kept in the settings store apply outside the window: a REPLACE Mapping when
# `kelmor FILE` plays a script (the mapped key arrives in the terminal as the pass number,
# the other keys as they are), and the Stop Recording Mapping ends `kelmorctl record`.
. "$(dirname "$0")/lib.sh"

received="$WORK/received.txt"
mkdir -p "$XDG_CONFIG_HOME/kelmor"
# Q (81) is replaced by the pass number; Pause (19) stops recordings.
printf '[SOFTWARE\\Kelmor\\Mappings\\81]\nAction=dword:00000008\n[SOFTWARE\\Kelmor\\Mappings\\19]\nAction=dword:00000002\n' \
  >"$XDG_CONFIG_HOME/kelmor/registry.ini"
cat >"$WORK/replace.klx" <<KLX
START xterm -T "Kelmor replace target" -geometry 80x20+0+0 -e sh -c "exec cat > '$received'"
WAIT 2
GOTO replace target
TYPE pass q done{enter}
KLX

run_limited 60 "$KELMOR" "$WORK/replace.klx"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$received" 'pass 1 done\n'
"$KELMORCTL" record "$WORK/rec.klx" >"$WORK/record.out" 2>&1 &
recorder=$!
wait_until 10 'grep -q "kelmorctl: recording" "$WORK/record.out"' || { cat "$WORK/record.out"; fail "the recorder did not start"; }
grep -q "until Pause" "$WORK/record.out" || fail "the recorder names no stop key: $(cat "$WORK/record.out")"
xdotool key a Pause
wait_until 10 '! kill -0 $recorder 2>/dev/null' || fail "the Pause Mapping did not stop kelmorctl record"
wait "$recorder" || fail "kelmorctl record failed: $(cat "$WORK/record.out")"
echo "ok: the stored REPLACE and Stop Recording Mappings applied"
