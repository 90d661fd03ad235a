#!/usr/bin/env bash
# Times quillon against `tiffcp -c g4` on the same real fax pages, in one run:
# 40 WinFax files of 5 pages (T.6, T.4 one-dimensional and T.4 with fill bits
# mixed) converted as a folder, against one multi-page TIFF file of the same
# 200 pages with the same codings copied by one tiffcp process; then one fax
# of 1024 pages with /relines against tiffcp on the same 1024 pages; and the
# folder run again without syncing, for what syncing costs. Each time
# is the best of the rounds (wall time; the machine is shared, so the best run
# is the one least disturbed), each peak memory the largest of the rounds
# (GNU time's maximum resident set size).
#
#   bench/conversion_bench.sh [build folder] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-5}
cmake --build "$build" -j2 --target quillon quillon_bench_inputs >/dev/null
command -v tiffcp >/dev/null || { echo "tiffcp not found (libtiff-tools)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "GNU time not found (/usr/bin/time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_bench_inputs" "${QUILLON_CORPUS:-../shared/corpus}" "$work"
export QUILLON_HOME="$work/home"
quillon=$build/src/quillon
cores=$(nproc)

# Parallel workers (/j=N) only where this quillon has them.
if "$quillon" --help | grep -q '/j='; then
  one_worker=(/j=1) per_core=("/j=$cores") per_core_label="/j=$cores"
else
  one_worker=() per_core=() per_core_label="(no /j= here: one worker)"
fi

# measure NAME COMMAND...: best wall seconds in best_NAME, largest peak
# kilobytes in peak_NAME; the output folder is emptied before each round.
measure() {
  local name=$1 best=999999 peak=0 start end kb
  shift
  for ((round = 1; round <= rounds; round++)); do
    rm -rf "$work/out"
    mkdir -p "$work/out"
    start=$(date +%s.%N)
    /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>"$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
    end=$(date +%s.%N)
    kb=$(tail -n 1 "$work/peak")
    best=$(awk -v a="$start" -v z="$end" -v b="$best" 'BEGIN { t = z - a; print (t < b) ? t : b }')
    ((kb > peak)) && peak=$kb
  done
  printf -v "best_$name" '%s' "$best"
  printf -v "peak_$name" '%s' "$peak"
}

measure q1 "$quillon" /q "${one_worker[@]}" /d="$work/faxes" /sd="$work/out"
measure qn "$quillon" /q "${per_core[@]}" /d="$work/faxes" /sd="$work/out"
# What syncing costs: the same run without it, and without it but with one
# syncfs of the output's file system at the end (sync -f), the alternative to
# syncing each output before its rename.
measure qu "$quillon" /q /nosync "${per_core[@]}" /d="$work/faxes" /sd="$work/out"
measure qs bash -c 'in=$1 out=$2; shift 2; "$0" /q /nosync "$@" /d="$in" /sd="$out" && sync -f "$out"' \
  "$quillon" "$work/faxes" "$work/out" "${per_core[@]}"
measure tc tiffcp -c g4 "$work/all.tif" "$work/out/all.tif"
measure qf "$quillon" /q /f="$work/faxes/f00.fxd" /sf="$work/out/f00.tif"
measure qb "$quillon" /q /relines /f="$work/big/big.fxd" /sf="$work/out/big.tif"
measure tb tiffcp -c g4 "$work/big/big.tif" "$work/out/big.tif"

mb() { awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; }
ratio() { awk -v q="$1" -v t="$2" 'BEGIN { printf "%.2f", q / t }'; }
line() { printf '%-52s %6.3f s  peak %s%s\n' "$1" "$2" "$(mb "$3")" "${4:-}"; }
echo "best of $rounds rounds each (wall time); peak memory: the largest of the rounds"
line "40 faxes x 5 pages, quillon ${one_worker[*]:-(one worker)}:" "$best_q1" "$peak_q1"
line "40 faxes x 5 pages, quillon $per_core_label:" "$best_qn" "$peak_qn"
line "the same, /nosync:" "$best_qu" "$peak_qu"
line "the same, /nosync and one syncfs at the end:" "$best_qs" "$peak_qs"
line "the same 200 pages in one TIFF, tiffcp -c g4:" "$best_tc" "$peak_tc"
line "one fax of 5 pages, quillon /f=:" "$best_qf" "$peak_qf" " (target at most 16 MB)"
line "one fax of 1024 pages, quillon /relines /f=:" "$best_qb" "$peak_qb" " (target at most 16 MB)"
line "the same 1024 pages in one TIFF, tiffcp -c g4:" "$best_tb" "$peak_tb"
echo "ratio quillon one worker / tiffcp:          $(ratio "$best_q1" "$best_tc") (target at most 0.4)"
echo "ratio quillon one worker per core / tiffcp: $(ratio "$best_qn" "$best_tc")"
echo "ratio quillon /relines / tiffcp, 1024 pages: $(ratio "$best_qb" "$best_tb")"
echo "ratio synced / /nosync, 200 pages:           $(ratio "$best_qn" "$best_qu") (target at most 1.10)"
echo "ratio synced / one syncfs at the end:        $(ratio "$best_qn" "$best_qs")"
