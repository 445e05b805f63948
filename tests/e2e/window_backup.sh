# The Backup Kelmor Settings commands as a person uses them: Tools > Backup Kelmor
# Settings > Backup All Settings proposes a file in the home folder, writes the name typed
# into the file dialog (with .reg added) and says how to restore it; the file holds what
# kelmorctl backup writes from the same store, the window's place aside. Backup Mappings
# onto that file asks first, and No leaves it as it was. kelmorctl restore reads the
# window's file back.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
# The file dialog keeps its own preferences in GSettings; this run has no session bus.
export GSETTINGS_BACKEND=memory
printf '[SOFTWARE\\Kelmor]\nLastTab=dword:00000002\nLogfile=sz:%s\n' "$WORK/Kelmor.log" >"$KELMOR_REGISTRY"
printf '[SOFTWARE\\Kelmor\\Mappings\\112]\nAction=dword:00000005\nText=sz:typed by F1\n' >>"$KELMOR_REGISTRY"
printf '[SOFTWARE\\Kelmor\\ShortType\\brb]\nText=sz:be right back\n' >>"$KELMOR_REGISTRY"

# Opens Tools > Backup Kelmor Settings and chooses the item by its mnemonic.
backup() {
  activate "$window"
  xdotool key --clearmodifiers alt+t
  sleep 0.4
  xdotool key b
  sleep 0.4
  xdotool key "$1"
}

start_window "backup"
backup a
wait_until 10 '[ -n "$(visible_window "Save As")" ]' || fail "Backup All Settings opened no file dialog"
sleep 0.5
shot backup-proposed.png
choose_in_file_dialog "Save As" "$WORK/all" backup-typed.png
answer_window "Export Complete" Return backup-complete.png
[ -f "$WORK/all.reg" ] || fail "no $WORK/all.reg: $(ls "$WORK")"
"$KELMORCTL" backup all "$WORK/ctl.reg" || fail "kelmorctl backup failed"
grep -v '^"Left"\|^"Top"' "$WORK/all.reg" >"$WORK/all.cmp"
grep -v '^"Left"\|^"Top"' "$WORK/ctl.reg" >"$WORK/ctl.cmp"
cmp -s "$WORK/all.cmp" "$WORK/ctl.cmp" || fail "the window and kelmorctl wrote different backups: $(diff "$WORK/all.cmp" "$WORK/ctl.cmp")"
grep -q '^\[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\112\]' "$WORK/all.reg" || fail "the Mapping is missing"

cp "$WORK/all.reg" "$WORK/before.reg"
backup m
choose_in_file_dialog "Save As" "$WORK/all.reg"
answer_window "Export" alt+n backup-replace.png
cmp -s "$WORK/all.reg" "$WORK/before.reg" || fail "No at the question still replaced the file"

choose_exit() { activate "$window"; xdotool key --clearmodifiers alt+f; sleep 0.4; xdotool key x; }
choose_exit
wait_for_end "File > Exit did not end the program"

# The window's file restores into an empty store, which then backs up to the same bytes.
export KELMOR_REGISTRY="$WORK/restored.ini"
"$KELMORCTL" restore "$WORK/all.reg" >"$WORK/restore.out" 2>&1 || fail "kelmorctl restore refused the window's backup: $(cat "$WORK/restore.out")"
grep -q 'typed by F1' "$KELMOR_REGISTRY" || fail "the restored store lacks the Mapping: $(cat "$KELMOR_REGISTRY")"
"$KELMORCTL" backup all "$WORK/again.reg" || fail "kelmorctl backup of the restored store failed"
cmp -s "$WORK/all.reg" "$WORK/again.reg" || fail "the restored store backs up differently: $(diff "$WORK/all.reg" "$WORK/again.reg")"
echo "ok: Backup All through the menu and the file dialog, the same bytes as kelmorctl; No keeps the old file; restored"
