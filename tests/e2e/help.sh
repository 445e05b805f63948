# Help as a person asks for it: the Help menu's items by their mnemonics, F1 on each tab
# and the question-mark gadgets open the right page at the right topic in "the default
# browser" - a script made the desktop's default handler through this run's mimeapps.list,
# so the program's real opening path runs. Then the same program installed (cmake
# --install) finds its pages in share/kelmor/help, and a program with no pages beside it
# says so. Screenshots of the Keyboard tab with its gadgets and of the About box are kept.
. "$(dirname "$0")/lib.sh"
export KELMOR_REGISTRY="$WORK/registry.ini"
export GSETTINGS_BACKEND=memory
record_default_handlers "$WORK/opened"
BUILD=$(cd "$(dirname "$KELMOR")" && pwd)
# The fill colours of the help gadgets' disc and of the About box's logo.
HELP_GADGET=009966
LOGO=1a3373

opened_count() { if [ -f "$WORK/opened" ]; then wc -l <"$WORK/opened"; else echo 0; fi; }
count=0

# Waits for the next thing handed to the browser and checks it is $1: a page as its path
# (and #topic), which must exist and hold that topic, or an address.
expect_opened() {
  local want=$1 got file anchor
  count=$((count + 1))
  wait_until 10 '[ "$(opened_count)" -ge $count ]' || fail "nothing was opened; expected $want"
  got=$(sed -n "${count}p" "$WORK/opened")
  got=${got#file://}
  [ "$got" = "$want" ] || fail "the browser was given '$got', not '$want'"
  case $want in
    /*)
      file=${want%%#*}
      anchor=${want#"$file"}
      [ -f "$file" ] || fail "no page $file"
      [ -z "$anchor" ] || grep -q "id=\"${anchor#\#}\"" "$file" || fail "$file has no topic $anchor"
      ;;
  esac
}

# Opens the Help menu with Alt+H and types the mnemonics given.
help_menu() {
  activate "$window"
  xdotool key --clearmodifiers alt+h
  sleep 0.4
  xdotool key "$@"
}

press() {
  activate "$window"
  xdotool key --clearmodifiers "$@"
  sleep 0.3
}

# Moves the pointer onto the picture of the given fill colour and clicks it.
click_picture() {
  local at
  at=$("$SCREENSHOT" --find "$1") || fail "no picture of colour $1 on the screen ($2)"
  xdotool mousemove $at
  sleep "${3:-0.2}"
}

exit_kelmor() {
  press alt+f
  xdotool key x
  wait_for_end "File > Exit did not end the program"
}

start_window "build folder"
GUIDE="$BUILD/help/KelmorGuide.html"
help_menu c
expect_opened "$GUIDE"
# F1 on each tab: the tab's topic.
press F1
expect_opened "$GUIDE#topic-1064"
press ctrl+Next F1
expect_opened "$GUIDE#topic-1063"
press ctrl+Next F1
expect_opened "$GUIDE#topic-1088"

# The Keyboard tab's gadgets: the help gadget's tip shows under the pointer, and a click
# opens its topic; adding and deleting come with the keyboard service and are grey.
click_picture $HELP_GADGET "Keyboard tab" 1.5
shot keyboard-tab.png
xdotool click 1
expect_opened "$GUIDE#topic-1148"
press ctrl+Next
click_picture $HELP_GADGET "ShortType tab" 1.5
shot shorttype-tab.png
xdotool click 1
expect_opened "$GUIDE#topic-1147"
press F1
expect_opened "$GUIDE#topic-1092"
help_menu s
expect_opened "$GUIDE#topic-1092"

# Advanced Help's pages, the support mail and the web page.
help_menu h s
expect_opened "$BUILD/help/KelmorScript.html"
help_menu h r
expect_opened "$BUILD/help/KelmorRevisions.html"
help_menu h f
expect_opened "$BUILD/help/KelmorFAQ.html"
help_menu e
expect_opened "mailto:support@kelmor.example.org"
help_menu w
expect_opened "https://kelmor.example.org"

# The About box: its drawn logo opens the web page as the link does.
help_menu a
about_box() { xdotool search --onlyvisible --name '^About Kelmor$' 2>/dev/null | head -n1; }
wait_until 10 '[ -n "$(about_box)" ]' || fail "Help > About Kelmor opened no About box"
sleep 0.5
click_picture $LOGO "About box" 0.5
shot about.png
xdotool click 1
expect_opened "https://kelmor.example.org"
xdotool windowactivate --sync "$(about_box)" 2>/dev/null
xdotool key Return
wait_until 10 '[ -z "$(about_box)" ]' || fail "Enter did not close the About box"
exit_kelmor

# Installed, the program finds its pages with its data.
cmake --install "$BUILD" --prefix "$WORK/prefix" >"$WORK/install.log" 2>&1 || {
  cat "$WORK/install.log" >&2
  fail "cmake --install failed"
}
KELMOR="$WORK/prefix/bin/kelmor"
start_window "installed"
press F1
expect_opened "$WORK/prefix/share/kelmor/help/KelmorGuide.html#topic-1092"
exit_kelmor

# A program without its pages says so, naming the page's path, and opens nothing.
mkdir -p "$WORK/bare"
cp "$BUILD/kelmor" "$BUILD/libkelmor-gtk.so" "$BUILD/libkelmor-service.so" "$WORK/bare/"
KELMOR="$WORK/bare/kelmor"
start_window "without pages"
press F1
answer_window "Kelmor Help" Return help-missing.png
[ "$(opened_count)" -eq $count ] || fail "a page was opened though there is none: $(tail -n1 "$WORK/opened")"
exit_kelmor
echo "ok: help menu, F1 per tab, help gadgets and the About logo open their pages; installed and missing pages"
