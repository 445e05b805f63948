# An installation as a user gets it: `cmake --install` into a staging prefix lays out the
# programs, their modules, help pages, examples, icons, desktop entry, metadata, file
# types, manual pages and completion; the installed programs run from there and find
# their modules; the desktop entry and the metadata validate.
. "$(dirname "$0")/lib.sh"
BUILD=$(dirname "$KELMOR")
STAGE="$WORK/stage"
cmake --install "$BUILD" --prefix "$STAGE" --strip >"$WORK/install.log" 2>&1 || fail "cmake --install failed: $(cat "$WORK/install.log")"
cd "$STAGE" || fail "no staging folder"

# The layout, with the module folder wherever GNUInstallDirs put the library folder.
modules=$(dirname "$(find . -name libkelmor-gtk.so)")
[ -n "$modules" ] && [ "$(basename "$modules")" = kelmor ] || fail "the window module is not in a kelmor folder: $(find . -name '*.so')"
for file in bin/kelmor bin/kelmorctl "$modules/libkelmor-gtk.so" "$modules/libkelmor-service.so" \
  share/kelmor/help/KelmorGuide.html share/kelmor/help/KelmorScript.html share/kelmor/help/help.css \
  share/kelmor/examples/demo.klx share/applications/org.example.kelmor.desktop \
  share/metainfo/org.example.kelmor.metainfo.xml share/mime/packages/kelmor.xml \
  share/icons/hicolor/scalable/apps/kelmor.svg share/icons/hicolor/16x16/apps/kelmor.png \
  share/icons/hicolor/32x32/apps/kelmor.png share/icons/hicolor/48x48/apps/kelmor.png \
  share/icons/hicolor/48x48/mimetypes/application-x-kelmor-recording.png \
  share/icons/hicolor/scalable/mimetypes/text-x-kelmor-script.svg \
  share/man/man1/kelmor.1.gz share/man/man1/kelmorctl.1.gz share/bash-completion/completions/kelmorctl; do
  [ -f "$file" ] || fail "not installed: $file"
done
[ "$(stat -c %s bin/kelmor)" -eq "$(stat -c %s "$KELMOR")" ] || fail "the installed program is not the padded one"
! grep -rqa "$BUILD" bin "$modules" || fail "a build path is baked into the installed programs"

desktop-file-validate share/applications/org.example.kelmor.desktop || fail "the desktop entry does not validate"
appstreamcli validate --no-net share/metainfo/org.example.kelmor.metainfo.xml || fail "the metadata does not validate"
mkdir -p "$WORK/data" && cp -r share/mime "$WORK/data/mime"
XDG_DATA_DIRS="$WORK/data" update-mime-database "$WORK/data/mime" 2>"$WORK/mime.err" && [ ! -s "$WORK/mime.err" ] ||
  fail "the file types: $(cat "$WORK/mime.err")"
grep -q 'application/x-kelmor-recording:\*\.klr' "$WORK/data/mime/globs2" || fail ".klr is not declared"
grep -q 'text/x-kelmor-script:\*\.klx' "$WORK/data/mime/globs2" || fail ".klx is not declared"
for page in kelmor kelmorctl; do
  zcat "share/man/man1/$page.1.gz" | grep -q "^\.TH $(echo $page | tr a-z A-Z) 1 .*Kelmor" || fail "the manual page $page(1)"
done

version=$(bin/kelmor --version) || fail "kelmor --version failed"
[ "$version" = "kelmor ${version#kelmor }" ] && [ "$(bin/kelmorctl --version)" = "kelmorctl ${version#kelmor }" ] ||
  fail "the two programs give different versions: '$version', '$(bin/kelmorctl --version)'"
zcat share/man/man1/kelmorctl.1.gz | grep -q "Kelmor ${version#kelmor }" || fail "the manual page has another version"
grep -q "version=\"${version#kelmor }\"" share/metainfo/org.example.kelmor.metainfo.xml || fail "the metadata has another version"
bin/kelmorctl info share/kelmor/examples/demo.klx | grep -q '^commands: ' || fail "the installed kelmorctl cannot read the demo"

# The completion offers subcommands, backup parts and the stop key's names.
if [ -f /usr/share/bash-completion/bash_completion ]; then
  completions=$(PATH="$STAGE/bin:$PATH" bash -c '
    . /usr/share/bash-completion/bash_completion
    . share/bash-completion/completions/kelmorctl
    complete_line() { COMP_WORDS=($1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=$1; COMP_POINT=${#1}
      COMPREPLY=(); _kelmorctl; echo "${COMPREPLY[*]}"; }
    complete_line "kelmorctl re"; complete_line "kelmorctl backup s"; complete_line "kelmorctl record --stop-key Pa"')
  [ "$completions" = "$(printf 'record restore\nshorttypes\nPause')" ] || fail "completion gave: $completions"
fi

# Opening a recording from a file manager runs the desktop entry's command on it: the
# installed program plays the installed demo into a terminal.
exec_line=$(sed -n 's/^Exec=//p' share/applications/org.example.kelmor.desktop)
cd "$WORK" || fail "no work folder"
command=${exec_line/\%f/$STAGE/share/kelmor/examples/demo.klx}
PATH="$STAGE/bin:$PATH" run_limited 60 $command
[ "$status" -eq 0 ] || fail "the installed kelmor played the demo with status $status"
grep -q 'Hello from Kelmor!' kelmor-demo.txt 2>/dev/null || fail "the demo's terminal received: $(cat kelmor-demo.txt 2>/dev/null)"
for w in $(xdotool search --name "Kelmor demo" 2>/dev/null); do pkill -P "$(xdotool getwindowpid "$w")" 2>/dev/null; done

# An executable recording made by the installed kelmorctl plays.
start_cat_terminal "installed exe target" "$WORK/exe.txt"
printf 'GOTO installed exe target\nTYPE from the installed copy{enter}\n' >"$WORK/task.klx"
"$STAGE/bin/kelmorctl" exe "$WORK/task.klx" "$WORK/task.exe" || fail "the installed kelmorctl exe failed"
run_limited 60 "$WORK/task.exe"
[ "$status" -eq 0 ] || fail "the executable recording exited with $status"
expect_file "$WORK/exe.txt" 'from the installed copy\n'

# The installed window finds both modules: it opens, and its keyboard service starts.
export KELMOR_REGISTRY="$WORK/registry.ini"
printf '[SOFTWARE\\Kelmor]\nLog=dword:00000003\nPromptForSave=dword:00000000\nLogfile=sz:%s\n' "$WORK/Kelmor.log" >"$KELMOR_REGISTRY"
KELMOR="$STAGE/bin/kelmor"
start_window "installed"
wait_until 10 'grep -q "Installed Keyboard Service" "$WORK/Kelmor.log" 2>/dev/null' || fail "the installed window's service did not start: $(cat "$WORK/Kelmor.log" 2>/dev/null)"
kill -TERM "$pid"
wait_for_end "the installed window did not end on SIGTERM"
echo "ok: installed layout, validation, versions, completion, demo, executable recording and window"
