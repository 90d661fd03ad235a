#!/usr/bin/env bash
# What a process that converts one small fax costs from start to end, for
# scripts that run one process per file: quillon to TIFF and to PDF against
# tiff2pdf and tiffcp on the same page as a Group 4 TIFF file, and a process
# that does nothing (/bin/true). 200 processes each, best of 3 rounds.
#
#   bench/startup_bench.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target quillon make_demo_faxes >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLON_HOME="$work/home"
"$build/tools/make_demo_faxes" "$work/demo" >/dev/null
fax="$work/demo/memo.fxm"   # one page, 2048 x 1100
quillon="$build/src/quillon"
"$quillon" /q /f="$fax" /sf="$work/page.tif"

# per_process <command...>: milliseconds a process, best of 3 rounds of 200.
per_process() {
  local best=$((1 << 62)) round start end i
  for round in 1 2 3; do
    start=$(date +%s%N)
    for i in $(seq 200); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    best=$(((end - start) < best ? (end - start) : best))
  done
  awk -v ns="$best" 'BEGIN {printf "%.2f ms", ns / 200 / 1e6}'
}
row() { printf '%-34s %s\n' "$1" "$2"; }
row "quillon, to TIFF" "$(per_process "$quillon" /q /f="$fax" /sf="$work/out.tif")"
row "quillon, to PDF (/pdf)" "$(per_process "$quillon" /q /pdf /f="$fax" /sf="$work/out.pdf")"
command -v tiff2pdf >/dev/null && row "tiff2pdf" "$(per_process tiff2pdf -o "$work/t2p.pdf" "$work/page.tif")"
command -v tiffcp >/dev/null && row "tiffcp -c g4" "$(per_process tiffcp -c g4 "$work/page.tif" "$work/cp.tif")"
row "a process that does nothing" "$(per_process /bin/true)"
