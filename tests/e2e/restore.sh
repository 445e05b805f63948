# kelmorctl restore beside a running window: refused while the window is open (it writes
# its settings back when it closes), from wherever it is run, done once it has closed.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n"FactorFast"=dword:00000021\r\n' >"$WORK/backup.reg"

start_window "restore"
# On the window's display, on another, and with none (a console, a script over ssh).
for display in "$DISPLAY" ":97" ""; do
  run_limited 20 env DISPLAY="$display" "$KELMORCTL" restore "$WORK/backup.reg" 2>"$WORK/err"
  [ "$status" -eq 1 ] || fail "restore beside the window (DISPLAY '$display') exited with $status"
  [ "$(cat "$WORK/err")" = "kelmorctl restore: Close the Kelmor window first: it saves its settings when it closes and would overwrite what is restored." ] ||
    fail "refusal (DISPLAY '$display'): $(cat "$WORK/err")"
done
[ -z "$(setting FactorFast)" ] || fail "the refused restore wrote FactorFast"

# Closed the way the system ends it; its settings are saved, then the restore goes ahead.
kill -TERM "$pid"
wait_until 10 '! kill -0 $pid 2>/dev/null' || fail "the window did not close"
[ -n "$(setting Speed)" ] || fail "the window did not save its settings"
run_limited 20 "$KELMORCTL" restore "$WORK/backup.reg"
[ "$status" -eq 0 ] || fail "restore after the window closed exited with $status"
[ "$(setting FactorFast)" = 00000021 ] || fail "FactorFast is '$(setting FactorFast)'"
echo "restore: all checks passed"
