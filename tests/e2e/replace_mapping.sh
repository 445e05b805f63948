# A REPLACE Mapping kept in the settings store applies when `kelmor FILE` plays a script:
# the mapped key arrives in the terminal as the pass number, the other keys as they are.
. "$(dirname "$0")/lib.sh"

received="$WORK/received.txt"
mkdir -p "$XDG_CONFIG_HOME/kelmor"
# Q (81) is replaced by the pass number.
printf '[SOFTWARE\\Kelmor\\Mappings\\81]\nAction=dword:00000008\n' >"$XDG_CONFIG_HOME/kelmor/registry.ini"
cat >"$WORK/replace.klx" <<KLX
START xterm -T "Kelmor replace target" -geometry 80x20+0+0 -e sh -c "exec cat > '$received'"
WAIT 2
GOTO replace target
TYPE pass q done{enter}
KLX

run_limited 60 "$KELMOR" "$WORK/replace.klx"
[ "$status" -eq 0 ] || fail "kelmor exited with $status"
expect_file "$received" 'pass 1 done\n'
echo "ok: the stored REPLACE Mapping applied"
