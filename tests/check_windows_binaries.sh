#!/bin/sh
# Checks the shipped Windows binaries as a Windows user's system meets them: each imports
# only functions of the allowed list (tests/windows_imports.list: every one there is
# known on the oldest Windows the README names), carries the version resource of VERSION,
# and has no debug sections (unless KELMOR_DEBUG_BUILD=1); each .exe carries the
# application manifest.
# Usage: check_windows_binaries.sh OBJDUMP VERSION ALLOWED_LIST BINARY...
objdump=$1 version=$2 allowed=$3
shift 3
failed=0
say() { echo "$*"; failed=1; }
list=$(mktemp)
trap 'rm -f "$list"' EXIT
grep -v '^#' "$allowed" | grep . | tr 'a-z' 'A-Z' | LC_ALL=C sort -u >"$list"
for binary in "$@"; do
  name=$(basename "$binary")
  [ -f "$binary" ] || { say "$name: missing"; continue; }
  # "DLL Name: X" opens each DLL's table; its rows are "address hint name".
  imports=$("$objdump" -p "$binary" | awk '
    /^[ \t]*DLL Name:/ { dll = toupper($3); next }
    /^[ \t]*$/ { dll = "" }
    dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll "!" toupper($3) }' | LC_ALL=C sort -u)
  [ -n "$imports" ] || say "$name: no imports read"
  for import in $(echo "$imports" | comm -23 - "$list"); do
    say "$name imports $import, which is not in $(basename "$allowed")"
  done
  # Resource texts are UTF-16: without the zero bytes they read as ASCII.
  text=$(tr -d '\000' <"$binary" | grep -a -o -e "FileVersion$version" -e '<assembly xmlns' | sort -u)
  echo "$text" | grep -qx "FileVersion$version" || say "$name: no version resource of $version"
  case $name in
    *.exe | *.EXE) echo "$text" | grep -qx '<assembly xmlns' || say "$name: no application manifest" ;;
  esac
  [ "${KELMOR_DEBUG_BUILD:-0}" = 1 ] || ! "$objdump" -h "$binary" | grep -q '\.debug_' ||
    say "$name: carries debug sections"
done
[ "$failed" -eq 0 ] && echo "$* import only allowed functions and carry version $version"
exit "$failed"
