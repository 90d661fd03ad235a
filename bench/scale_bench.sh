#!/usr/bin/env bash
# How a folder run scales with its number of files: N one-page faxes
# (copies of the demo memo, 100 a folder) converted by one run with
# "/q /i /kh /report=", and once more without the report, for N = 2,000,
# 20,000 and 200,000. For each run: files converted a second, peak memory
# (GNU time's maximum resident set), the time from the start to the first
# output, and processor time a file.
#
# The first output is found by polling the output tree every 10 ms for a
# file that is no temporary ".part" name (outputs are renamed into place
# whole); until it appears the tree holds at most a few folders, so the
# poll costs the run little. Needs about 3 GB of disk for 200,000 files.
#
#   bench/scale_bench.sh [build folder] [N ...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(2000 20000 200000)
cmake --build "$build" -j2 --target quillon make_demo_faxes >/dev/null
quillon=$(realpath "$build/src/quillon")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLON_HOME="$work/home"
"$build/tools/make_demo_faxes" "$work/demo" >/dev/null
fax="$work/demo/memo.fxm"
size=$(stat -c %s "$fax")
# 100 copies end to end, cut back into 100 files by split: one process a
# folder rather than one a file.
for i in $(seq 100); do cat "$fax"; done > "$work/hundred"

# make_tree <folder> <files>
make_tree() {
  local folder=$1 files=$2 made=0 sub=0
  while [ "$made" -lt "$files" ]; do
    local dir="$folder/$((sub / 100))/$((sub % 100))" take=$((files - made < 100 ? files - made : 100))
    mkdir -p "$dir"
    head -c $((take * size)) "$work/hundred" | split -b "$size" -d -a 3 --additional-suffix=.fxm - "$dir/fax"
    made=$((made + take)) sub=$((sub + 1))
  done
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

printf '%-9s %-9s %9s %14s %14s %12s %10s\n' files report "files/s" "peak memory" "first output" "cpu a file" total
for n in "${counts[@]}"; do
  rm -rf "$work/in"
  make_tree "$work/in" "$n"
  for report in yes no; do
    rm -rf "$work/out" "$work/report.jsonl"
    mkdir -p "$work/out"
    sync
    with=()
    [ "$report" = no ] || with=(/report="$work/report.jsonl")
    start=$(now_ms)
    /usr/bin/time -f '%M %U %S' -o "$work/peak" "$quillon" /q /d="$work/in" /sd="$work/out" /i /kh \
      "${with[@]}" >/dev/null 2>"$work/err" &
    run=$!
    first=""
    while kill -0 "$run" 2>/dev/null; do
      if find "$work/out" -type f ! -name '*.part' -print -quit | grep -q .; then first=$(($(now_ms) - start)); break; fi
      sleep 0.01
    done
    wait "$run" || { echo "quillon failed on $n files:"; head "$work/err"; exit 1; }
    end=$(now_ms)
    [ -n "$first" ] || first=$((end - start))
    converted=$(find "$work/out" -name '*.tif' | wc -l)
    [ "$converted" -eq "$n" ] || { echo "$converted outputs of $n files"; exit 1; }
    read -r kb user sys < <(tail -1 "$work/peak")
    awk -v n="$n" -v report="$report" -v ms=$((end - start)) -v kb="$kb" -v user="$user" -v sys="$sys" -v first="$first" \
      'BEGIN {printf "%-9d %-9s %9.0f %11.1f MB %12.2f s %9.2f ms %8.1f s\n", n, report, n / (ms / 1000), kb / 1024,
              first / 1000, (user + sys) * 1000 / n, ms / 1000}'
  done
done
