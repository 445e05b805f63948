#!/bin/sh
# kelmor's message boxes come from the face module beside it; where they cannot be shown
# they are lines on standard error, never a silent answer. Arguments: the kelmorctl
# program (kelmor is beside it), the source folder.
. "$(dirname "$0")/lib.sh"
program=$(dirname "$ctl")/kelmor
[ -x "$program" ] || { echo "no kelmor program in this build: skipped"; exit 77; }
export DISPLAY=
box="Error: Unable to open file '$tmp/missing.klx'! (-2) Please verify that the file exists."

# The module is there but there is no display: the box goes to standard error alone.
run 1 "$tmp/missing.klx"
expect_eq "a box without a display" "$err" "$box"

# A program file copied away from its module (as an executable recording may be) says
# why it shows no dialogs, once, and still shows the box.
cp "$program" "$tmp/kelmor"
program=$tmp/kelmor
run 1 "$tmp/missing.klx"
expect_eq "a box without the module" "$err" "kelmor: cannot show dialogs: $tmp/libkelmor-gtk.so: cannot open shared object file: No such file or directory
$box"

# The playback and its boxes load no GTK: the program file links none of it.
if command -v readelf >/dev/null; then
  needed=$(readelf -d "$program" | grep NEEDED)
  case $needed in *gtk* | *gdk* | *gobject* | *gio*) fail "kelmor links the toolkit: $needed" ;; esac
fi

finish "kelmor message boxes"
