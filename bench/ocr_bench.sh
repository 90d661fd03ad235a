#!/usr/bin/env bash
# Pages per minute of text recognition (/ocr): the same folder of WinFax
# files of real pages converted to searchable PDF files once with one worker
# (/j=1) and once with one worker per core (the default), timed from the
# outside; the processor time per page tells the cost on a busy machine too.
# Each run's report counts the pages recognised and their words.
#
#   bench/ocr_bench.sh [build folder] [files]   (files of 5 pages; default 4)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
files=${2:-4}
cmake --build "$build" -j2 --target quillon quillon_bench_inputs >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_bench_inputs" ../shared/corpus "$work" >/dev/null
mkdir "$work/ocr"
for f in $(ls "$work/faxes" | head -n "$files"); do cp "$work/faxes/$f" "$work/ocr/"; done
export QUILLON_HOME="$work/home"

now() { date +%s.%N; }
run() {  # run <label> <worker option>
  local report="$work/$1.jsonl"
  local start end pages words cpu
  start=$(now)
  /usr/bin/time -f '%U %S' -o "$work/cpu" \
    "$build/src/quillon" /q "$2" /ocr /d="$work/ocr" /sd="$work/out-$1" /report="$report" >/dev/null
  end=$(now)
  cpu=$(awk '{print $1 + $2}' "$work/cpu")
  pages=$(grep -o '"words":[0-9]*' "$report" | wc -l)
  words=$(grep -o '"words":[0-9]*' "$report" | awk -F: '{n += $2} END {print n + 0}')
  awk -v l="$1" -v p="$pages" -v w="$words" -v a="$start" -v z="$end" -v c="$cpu" 'BEGIN {
    t = z - a
    printf "%-11s %3d pages, %5d words in %6.1f s: %5.1f pages/min, %.2f s of processor time a page\n",
           l, p, w, t, p / t * 60, c / p }'
}
cores=$(getconf _NPROCESSORS_ONLN)  # not nproc: it follows OMP_THREAD_LIMIT
echo "OCR of $files faxes ($cores cores)"
run "one worker" /j=1
run "$cores workers" /j="$cores"
