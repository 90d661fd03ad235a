#!/usr/bin/env bash
# The libraries of src/ depend one way, as a run flows: a library may use
# only what it, or a library below it, defines. Every symbol a library's
# objects need is looked up in the libraries of the build: one that only a
# library above (or beside) it defines is a dependency the wrong way.
#   library_layers_test.sh BUILD
set -euo pipefail
build=$1
# Each library and the libraries it may use (as its CMake LINKS say, all the way down).
declare -A below=(
  [platform]=""
  [codec]="platform"
  [tiff]="codec platform"
  [engine]="codec platform"
  [formats]="engine tiff codec platform"
  [ocr]="codec platform"
  [pdf]="codec platform"
  [run]="formats engine tiff pdf ocr codec platform"
  [records]="run formats engine tiff pdf ocr codec platform"
  [cli]="records run formats engine tiff pdf ocr codec platform"
)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for library in "${!below[@]}"; do
  archive=$build/src/$library/libquillon_$library.a
  [ -f "$archive" ] || { echo "missing $archive"; exit 1; }
  nm --defined-only --format=posix "$archive" 2>/dev/null | awk 'NF >= 2 && $2 ~ /^[TtWwVvDdBbRr]$/ {print $1}' | sort -u > "$work/$library.defined"
  nm --undefined-only --format=posix "$archive" 2>/dev/null | awk 'NF >= 2 {print $1}' | sort -u > "$work/$library.needed"
done
failures=0
for library in "${!below[@]}"; do
  allowed=$work/$library.allowed
  cat "$work/$library.defined" > "$allowed"
  for lower in ${below[$library]}; do cat "$work/$lower.defined" >> "$allowed"; done
  sort -u -o "$allowed" "$allowed"
  # Needed, not defined where allowed, but defined by another library of the build.
  comm -23 "$work/$library.needed" "$allowed" > "$work/$library.outside"
  for other in "${!below[@]}"; do
    [ "$other" = "$library" ] && continue
    comm -12 "$work/$library.outside" "$work/$other.defined" | while read -r symbol; do
      echo "$library uses $(echo "$symbol" | c++filt) of $other"
    done
  done
done > "$work/report"
if [ -s "$work/report" ]; then
  sort -u "$work/report" | head -40
  exit 1
fi
echo "the ${#below[@]} libraries depend one way"
