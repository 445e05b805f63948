#!/bin/sh
# Fails when an include arrow in the core points up or sideways out of the core: each
# folder below may include only itself, the folders after it in the order, and the
# seams platform/*.h (never a back end, a program or a test). A strict order also
# rules out loops between folders; loops between headers are looked for as well.
top=$1
order="app player service script recording host ui settings text"
cd "$top" || exit 2
bad=$(
  rank=0
  for dir in $order; do
    rank=$((rank + 1))
    [ -d "$dir" ] || continue
    for file in "$dir"/*.h "$dir"/*.cpp; do
      [ -f "$file" ] || continue
      sed -n 's/^[ \t]*#[ \t]*include[ \t]*"\([^"]*\)".*/\1/p' "$file" | while read -r target; do
        folder=${target%%/*}
        case $target in
          platform/*/*) echo "$file includes the back end $target"; continue ;;
          platform/*) continue ;;
        esac
        allowed=no
        r=0
        for below in $order; do
          r=$((r + 1))
          [ "$r" -ge "$rank" ] && [ "$below" = "$folder" ] && allowed=yes
        done
        [ $allowed = yes ] || echo "$file includes $target"
      done
    done
  done
)
if [ -n "$bad" ]; then
  echo "include arrows that do not point down ($order, then platform/*.h):"
  echo "$bad"
  exit 1
fi
# Prints each loop of the graph read as "from to" lines, as a path.
loops() {
  awk '
    { edge[$1] = edge[$1] " " $2 }
    function visit(node, path,    n, i, list) {
      if (state[node] == 1) { print path; return }
      if (state[node] == 2) return
      state[node] = 1
      n = split(edge[node], list, " ")
      for (i = 1; i <= n; i++) visit(list[i], path " -> " list[i])
      state[node] = 2
    }
    END { for (node in edge) if (!state[node]) visit(node, node) }'
}
# Header loops: follow the headers each header includes.
loop=$(for dir in $order; do
  for file in "$dir"/*.h; do
    [ -f "$file" ] || continue
    sed -n "s|^[ \t]*#[ \t]*include[ \t]*\"\\([^\"]*\\.h\\)\".*|$file \\1|p" "$file"
  done
done | loops)
if [ -n "$loop" ]; then
  echo "headers that include each other in a loop:"
  echo "$loop"
  exit 1
fi
# Source loops: within a folder, a.cpp includes b.h while b.cpp includes a.h, directly or
# round more files. Such files are one unit in all but name.
source_loop=$(for dir in $order platform/*/; do
  dir=${dir%/}
  for file in "$dir"/*.cpp; do
    [ -f "$file" ] || continue
    sed -n "s|^[ \t]*#[ \t]*include[ \t]*\"$dir/\([^\"/]*\)\\.h\".*|$file $dir/\\1.cpp|p" "$file" |
      while read -r from to; do [ "$from" != "$to" ] && [ -f "$to" ] && echo "$from $to"; done
  done
done | loops)
if [ -n "$source_loop" ]; then
  echo "source files that include each other's headers in a loop:"
  echo "$source_loop"
  exit 1
fi
echo "every include arrow in the core points down: $order; no source loops"

# Every source file of the core, the back ends and the programs' shared parts, and every
# test, is named in its folder's sources.cmake (cmake/sources.cmake, tests/CMakeLists.txt),
# so that a new file cannot be left out of the build unnoticed.
named() {  # FILE: whether its folder's sources.cmake names it, comments aside
  [ -f "${1%/*}/sources.cmake" ] && sed 's/#.*//' "${1%/*}/sources.cmake" | grep -Fqw "${1##*/}"
}
unlisted=$(
  for dir in $order platform/*/ programs/*/ tests/fakes; do
    dir=${dir%/}
    case $dir in
      programs/*|tests/*) [ -f "$dir/sources.cmake" ] || continue ;;
    esac
    for file in "$dir"/*.cpp; do
      [ -f "$file" ] && ! named "$file" && echo "$file"
    done
  done
  for file in tests/*/*_test.cpp tests/platform/*/*_test.cpp; do
    [ -f "$file" ] && ! named "$file" && echo "$file"
  done)
if [ -n "$unlisted" ]; then
  echo "source files no sources.cmake names:"
  echo "$unlisted"
  exit 1
fi
echo "every source file and test is named in its folder's sources.cmake"
