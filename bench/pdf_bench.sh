#!/usr/bin/env bash
# Times one folder run to PDF (/pdf) against the same run to TIFF over 40
# WinFax files of 5 real pages each, one file at a time (/j=1) so that other
# work on the machine blurs the figures less; then the peak memory of
# converting one fax of 1024 pages to TIFF and to PDF.
#
#   bench/pdf_bench.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target quillon quillon_bench_inputs >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_bench_inputs" ../shared/corpus "$work"
export QUILLON_HOME="$work/home"

now() { date +%s.%N; }
best_tiff=999 best_pdf=999
for round in 1 2 3 4 5; do
  rm -rf "$work/out-t" "$work/out-p"
  start=$(now)
  "$build/src/quillon" /q /j=1 /d="$work/faxes" /sd="$work/out-t" >/dev/null 2>&1
  mid=$(now)
  "$build/src/quillon" /q /j=1 /pdf /d="$work/faxes" /sd="$work/out-p" >/dev/null 2>&1
  end=$(now)
  best_tiff=$(awk -v a="$start" -v z="$mid" -v b="$best_tiff" 'BEGIN {t = z - a; print (t < b) ? t : b}')
  best_pdf=$(awk -v a="$mid" -v z="$end" -v b="$best_pdf" 'BEGIN {t = z - a; print (t < b) ? t : b}')
done
printf 'folder run to TIFF, 40 faxes x 5 pages: %.3f s (best of 5)\n' "$best_tiff"
printf 'same run to PDF (/pdf):                 %.3f s (best of 5)\n' "$best_pdf"
printf 'PDF / TIFF:                             %.3f (target at most 1.10)\n' \
  "$(awk -v p="$best_pdf" -v t="$best_tiff" 'BEGIN {print p / t}')"
printf 'sizes: TIFF %s, PDF %s\n' "$(du -sh "$work/out-t" | cut -f1)" "$(du -sh "$work/out-p" | cut -f1)"

peak() { { /usr/bin/time -f '%M' "$build/src/quillon" /q /f="$work/big/big.fxd" /sf="$1" 2>&1 >/dev/null; } | tail -n 1; }
printf 'peak memory, 1024-page fax: TIFF %.1f MB, PDF %.1f MB\n' \
  "$(awk -v k="$(peak "$work/big.tif")" 'BEGIN {print k / 1024}')" \
  "$(awk -v k="$(peak "$work/big.pdf")" 'BEGIN {print k / 1024}')"
