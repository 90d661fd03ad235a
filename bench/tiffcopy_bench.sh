#!/usr/bin/env bash
# Times copyTiff (through tiffcopy_copy) against `tiffcp -c g4` on the eight
# ITU pages of the corpus, in the same run, alternating which goes first.
# Each run copies the eight pages into one multi-page file, so that the
# start-up of a process weighs little against the copying.
# Reports the CPU time (user + system) of each, which the shared machine's
# load disturbs far less than wall time, and their ratio.
#
# usage: bench/tiffcopy_bench.sh [path/to/tiffcopy_copy] [rounds]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
copier=${1:-$here/../build/bench/tiffcopy_copy}
rounds=${2:-5}
corpus=${QUILLON_CORPUS:-$here/../../shared/corpus}
pages=("$corpus"/CCITT_{1..8}.TIF)

[[ -x $copier ]] || { echo "tiffcopy_copy not found: $copier" >&2; exit 2; }
command -v tiffcp > /dev/null || { echo "tiffcp not found (libtiff-tools)" >&2; exit 2; }
for page in "${pages[@]}"; do [[ -r $page ]] || { echo "missing $page" >&2; exit 2; }; done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Sets the variable named $2 to the CPU seconds (user + system) of ten runs
# of tool $1 that each copy all pages into one Group 4 file.
cpu_seconds() {
    local tool=$1 result=$2
    /usr/bin/time -f "%U %S" -o "$work/time" bash -c '
        tool=$1; out=$2; shift 2
        for repeat in 1 2 3 4 5 6 7 8 9 10; do
            if [[ $tool == tiffcp ]]; then tiffcp -c g4 "$@" "$out"; else "$tool" "$@" "$out"; fi
        done' _ "$tool" "$work/out.tif" "${pages[@]}"
    printf -v "$result" '%s' "$(awk '{ printf "%.3f", $1 + $2 }' "$work/time")"
}

best_ours=""
best_tiffcp=""
for ((round = 1; round <= rounds; round++)); do
    if ((round % 2)); then
        cpu_seconds "$copier" ours; cpu_seconds tiffcp tiffcp
    else
        cpu_seconds tiffcp tiffcp; cpu_seconds "$copier" ours
    fi
    printf 'round %d: copyTiff %ss  tiffcp %ss\n' "$round" "$ours" "$tiffcp"
    best_ours=$(awk -v a="$ours" -v b="$best_ours" 'BEGIN { print (b == "" || a < b) ? a : b }')
    best_tiffcp=$(awk -v a="$tiffcp" -v b="$best_tiffcp" 'BEGIN { print (b == "" || a < b) ? a : b }')
done

awk -v ours="$best_ours" -v tiffcp="$best_tiffcp" -v pages="${#pages[@]}" 'BEGIN {
    printf "best of rounds, %d pages x 10: copyTiff %.3fs CPU, tiffcp -c g4 %.3fs CPU, ratio %.3f\n",
           pages, ours, tiffcp, ours / tiffcp
}'
