#!/usr/bin/env bash
# Times one quillon run over 40 WinFax files of 5 real pages each against
# `tiffcp -c g4` over the same pages as TIFF files, file by file, in the same
# run; then the peak memory of converting one fax of 1024 pages with /relines.
#
#   bench/conversion_bench.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target quillon quillon_bench_inputs >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_bench_inputs" ../shared/corpus "$work"
export QUILLON_HOME="$work/home"

now() { date +%s.%N; }
best_quillon=999 best_tiffcp=999
for round in 1 2 3; do
  rm -rf "$work/out-q" "$work/out-t"; mkdir -p "$work/out-t"
  start=$(now)
  "$build/src/quillon" /q /d="$work/faxes" /sd="$work/out-q" 2>/dev/null
  mid=$(now)
  for f in "$work"/tiffs/*.tif; do tiffcp -c g4 "$f" "$work/out-t/$(basename "$f")"; done
  end=$(now)
  best_quillon=$(awk -v a="$start" -v z="$mid" -v b="$best_quillon" 'BEGIN {t = z - a; print (t < b) ? t : b}')
  best_tiffcp=$(awk -v a="$mid" -v z="$end" -v b="$best_tiffcp" 'BEGIN {t = z - a; print (t < b) ? t : b}')
done
printf 'quillon, 40 faxes x 5 pages:  %.3f s (best of 3)\n' "$best_quillon"
printf 'tiffcp -c g4, same pages:     %.3f s (best of 3)\n' "$best_tiffcp"
printf 'ratio quillon / tiffcp:       %.2f (target at most 1.15)\n' "$(awk -v q="$best_quillon" -v t="$best_tiffcp" 'BEGIN {print q / t}')"

peak=$( { /usr/bin/time -f '%M' "$build/src/quillon" /q /relines /f="$work/big/big.fxd" /sf="$work/big.tif" 2>&1 >/dev/null; } | tail -n 1)
printf 'peak memory, 1024-page fax with /relines: %.1f MB (target at most 32 MB)\n' "$(awk -v k="$peak" 'BEGIN {print k / 1024}')"
