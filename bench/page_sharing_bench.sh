#!/usr/bin/env bash
# Text recognition (/ocr) of the pages of one file on several workers: the
# clock seconds, best of 3 runs each, of
#   - one WinFax file of 12 pages with one worker (/j=1) and two (/j=2), and
#     the same 12 pages as one Group 4 TIFF file through `ocrmypdf --jobs 2`
#     with its defaults: 12 copies of a business letter (some 210 words a
#     page), and 12 pages of dense prose (500 to 700 words, six fonts), all
#     fine and upright,
#   - a folder of that file and 6 one-page faxes, /j=1 and /j=2,
#   - a folder of 8 one-page faxes, /j=1 and /j=2, for reference; with
#     BASELINE=/path/to/an/older/quillon also that build on the same folder.
# The pages are made by quillon_accuracy_pages. Each run writes into
# a new folder, and each PDF must have a text layer.
#
#   bench/page_sharing_bench.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target quillon quillon_accuracy_pages >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_accuracy_pages" "$work" --long 12
"$build/bench/quillon_accuracy_pages" "$work/letters" --letters 12
mkdir "$work/mixed" "$work/single"
cp "$work/long/long.fxd" "$work"/faxes/p0[1-6].fxd "$work/mixed/"  # the fine pages
cp "$work"/faxes/p0[1-8].fxd "$work/single/"
export QUILLON_HOME="$work/home"
quillon=$build/src/quillon

now() { date +%s.%N; }
# The commands timed; each writes into the folder $out.
fax() { "$quillon" /q /j="$1" /ocr /f="$work/$2/long.fxd" /sf="$out/long.pdf" >/dev/null; }
tiff() { ocrmypdf -q --jobs 2 "$work/$1/long.tif" "$out/long.pdf" 2>/dev/null; }
folder() { "${3:-$quillon}" /q /j="$1" /ocr /d="$work/$2" /sd="$out" >/dev/null; }

# best <name> <PDF files> <command...>: the least clock seconds of 3 runs,
# kept in $work/best-<name>; a run must leave that many PDF files with text.
best() {
  local name=$1 files=$2 run start pdf least
  shift 2
  for run in 1 2 3; do
    out=$work/out-$name-$run
    mkdir "$out"
    start=$(now)
    "$@" || { echo "$name: $* failed" >&2; exit 1; }
    least=$(awk -v a="$start" -v z="$(now)" -v m="${least:-}" 'BEGIN {t = z - a; printf "%.2f", m == "" || t < m ? t : m}')
    [ "$(ls "$out"/*.pdf | wc -l)" = "$files" ] || { echo "$name: not $files PDF files in $out" >&2; exit 1; }
    for pdf in "$out"/*.pdf; do
      pdftotext "$pdf" - | grep -c '[a-z]' >/dev/null || { echo "$name: no text in $pdf" >&2; exit 1; }
    done
    rm -rf "$out"
  done
  echo "$least" >"$work/best-$name"
}

echo "12-page faxes and one-page faxes, fine, best of 3 runs, $(getconf _NPROCESSORS_ONLN) cores"
best letters1 1 fax 1 letters/long
best letters2 1 fax 2 letters/long
command -v ocrmypdf >/dev/null && best letterstiff 1 tiff letters/long
best fax1 1 fax 1 long
best fax2 1 fax 2 long
command -v ocrmypdf >/dev/null && best tiff 1 tiff long
best mixed1 7 folder 1 mixed
best mixed2 7 folder 2 mixed
best single1 8 folder 1 single
best single2 8 folder 2 single
if [ -n "${BASELINE:-}" ]; then
  best base1 8 folder 1 single "$BASELINE"
  best base2 8 folder 2 single "$BASELINE"
fi

# row <what> <A> <B> [goal of B / A]
row() {
  awk -v w="$1" -v a="$(cat "$work/best-$2")" -v b="$(cat "$work/best-$3")" -v g="${4:-}" 'BEGIN {
    r = b / a
    printf "%-50s %7.2f s %7.2f s %6.2f", w, a, b, r
    if (g != "") printf "   at most %.2f: goal %s", g, r <= g ? "met" : "missed"
    printf "\n" }'
}
echo
printf '%-50s %9s %9s %6s\n' "" A B B/A
row "12 letters /ocr, A /j=1, B /j=2" letters1 letters2 0.55
[ -f "$work/best-letterstiff" ] && row "12 letters, A ocrmypdf --jobs 2, B quillon /j=2" letterstiff letters2 0.7
row "12 pages of prose /ocr, A /j=1, B /j=2" fax1 fax2 0.55
[ -f "$work/best-tiff" ] && row "12 of prose, A ocrmypdf --jobs 2, B quillon /j=2" tiff fax2 0.7
row "12-page fax + 6 faxes, A /j=1, B /j=2" mixed1 mixed2 0.55
row "8 one-page faxes, A /j=1, B /j=2" single1 single2
if [ -n "${BASELINE:-}" ]; then
  row "8 one-page faxes /j=1, A baseline, B this" base1 single1
  row "8 one-page faxes /j=2, A baseline, B this" base2 single2
fi
