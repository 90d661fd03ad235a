#!/usr/bin/env bash
# How well and how fast searchable PDF files are made, against the usual
# tools when they are installed: 16 one-page faxes of known prose (made by
# quillon_accuracy_pages: four fonts from 9 to 14 points, at fine and standard
# resolution, one page of each upside down and one with 2 % speckle) go
#   - through quillon /ocrtext with one worker (/j=1),
#   - through `ocrmypdf --jobs 1` with its defaults, one page file at a time,
#   - through Tesseract's own command line, one page file at a time, as the
#     floor both stand on,
#   - to PDF without text through quillon /pdf and through tiff2pdf.
# Word error rate (WER): the word-level edit distance to the printed text
# over the printed words, of `pdftotext -layout` of each PDF (the text
# layer as a reader copies it) and of our own .txt (what we recognised).
# Pages per minute per core are counted from the processor time (user and
# system, children included) each tool takes, so that other work on the
# machine changes them little; the time on the clock is shown beside them.
#
#   bench/accuracy_bench.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target quillon quillon_accuracy_pages quillon_word_error_rate >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/quillon_accuracy_pages" "$work"
export QUILLON_HOME="$work/home"
wer="$build/bench/quillon_word_error_rate"

now() { date +%s.%N; }
seconds() { awk -v a="$1" -v z="$2" 'BEGIN {printf "%.2f", z - a}'; }
# timed <name> <command...>: runs it, keeping its clock and processor seconds.
timed() {
  local name=$1 start
  shift
  start=$(now)
  /usr/bin/time -f '%U %S' -o "$work/$name.cpu" "$@"
  seconds "$start" "$(now)" >"$work/$name.clock"
  awk '{printf "%.2f", $1 + $2}' "$work/$name.cpu" >"$work/$name.processor"
}
bytes() { cat "$@" | wc -c; }

# errors and words of the files <dir>/<name><suffix> for the pages of one
# resolution (lines per inch) and, optionally, one kind.
tally() {  # tally <dir> <suffix> <lpi> [kind]
  local errors=0 words=0 e w
  while IFS=$'\t' read -r name lpi what; do
    [ "$lpi" = "$3" ] || continue
    [ -z "${4:-}" ] || [[ "$what" == *"$4"* ]] || continue
    read -r e w < <("$wer" "$work/text/$name.txt" "$1/$name$2")
    errors=$((errors + e)) words=$((words + w))
  done <"$work/pages.tsv"
  awk -v e="$errors" -v w="$words" 'BEGIN {printf "%6.2f %%", 100 * e / w}'
}

pages=$(wc -l <"$work/pages.tsv")
echo "$pages pages, $(cat "$work"/text/*.txt | wc -w) printed words, $(getconf _NPROCESSORS_ONLN) cores"

# Searchable PDF, ours.
timed ours "$build/src/quillon" /q /j=1 /ocrtext /d="$work/faxes" /sd="$work/quillon" /report="$work/report.jsonl" \
  >/dev/null
ours=$(cat "$work/ours.processor")
for pdf in "$work"/quillon/*.pdf; do pdftotext -layout "$pdf" "${pdf%.pdf}.layout"; done
rotated=$(grep -c '"rotation":180' "$work/report.jsonl" || true)

# Searchable PDF, ocrmypdf's defaults (PDF/A), one page file after the other.
theirs=""
if command -v ocrmypdf >/dev/null; then
  mkdir "$work/ocrmypdf"
  timed theirs bash -c 'for tif in "$1"/tiff/*.tif; do
      ocrmypdf --jobs 1 -q "$tif" "$1/ocrmypdf/$(basename "$tif" .tif).pdf" 2>/dev/null || true
    done' - "$work"
  theirs=$(cat "$work/theirs.processor")
  for pdf in "$work"/ocrmypdf/*.pdf; do pdftotext -layout "$pdf" "${pdf%.pdf}.layout"; done
fi

# Tesseract alone, its command line with its defaults on the same page files,
# one process a page: the recognition both tools above are built on, so that
# the share of their time that is Tesseract's own shows.
alone=""
if command -v tesseract >/dev/null; then
  timed alone env OMP_THREAD_LIMIT=1 bash -c 'for tif in "$1"/tiff/*.tif; do
      tesseract "$tif" "$1/alone-$(basename "$tif" .tif)" quiet >/dev/null 2>&1 || true
    done' - "$work"
  alone=$(cat "$work/alone.processor")
fi

# PDF without text, ours and tiff2pdf's.
"$build/src/quillon" /q /j=1 /pdf /d="$work/faxes" /sd="$work/plain" >/dev/null
if command -v tiff2pdf >/dev/null; then
  mkdir "$work/tiff2pdf"
  for tif in "$work"/tiff/*.tif; do tiff2pdf -o "$work/tiff2pdf/$(basename "$tif" .tif).pdf" "$tif" 2>/dev/null; done
fi

row() { printf '%-44s %-16s %s\n' "$@"; }
echo
row "" "quillon" "ocrmypdf"
for lpi in 200 100; do
  label=$([ "$lpi" = 200 ] && echo fine || echo standard)
  row "WER, $label, pdftotext -layout" "$(tally "$work/quillon" .layout $lpi)" \
      "$([ -n "$theirs" ] && tally "$work/ocrmypdf" .layout $lpi)"
  row "WER, $label, recognised text (.txt)" "$(tally "$work/quillon" .txt $lpi)" ""
  for kind in plain upside-down speckled; do
    row "  of which $kind pages, pdftotext -layout" "$(tally "$work/quillon" .layout $lpi $kind)" \
        "$([ -n "$theirs" ] && tally "$work/ocrmypdf" .layout $lpi $kind)"
  done
done
ppm() { awk -v p="$pages" -v t="$1" 'BEGIN {printf "%.1f", p / t * 60}'; }
row "pages per minute per core" "$(ppm "$ours") ($ours s)" "$([ -n "$theirs" ] && echo "$(ppm "$theirs") ($theirs s)")"
[ -n "$alone" ] && row "  tesseract alone, one page a process" "$(ppm "$alone") ($alone s)" ""
row "seconds on the clock" "$(cat "$work/ours.clock")" "$([ -n "$theirs" ] && cat "$work/theirs.clock")"
row "searchable PDF, bytes" "$(bytes "$work"/quillon/*.pdf)" "$([ -n "$theirs" ] && bytes "$work"/ocrmypdf/*.pdf)"
row "pages shown turned by /Rotate 180" "$rotated" ""
if [ -n "$theirs" ]; then
  echo
  awk -v a="$ours" -v b="$theirs" 'BEGIN {printf "speed, quillon / ocrmypdf:       %.2f (goal at least 2)\n", b / a}'
  [ -n "$alone" ] && awk -v a="$alone" -v b="$theirs" -v q="$ours" 'BEGIN {
    printf "tesseract alone takes %.0f %% of ocrmypdf'"'"'s time and %.0f %% of ours\n", 100 * a / b, 100 * a / q }'
  awk -v a="$(bytes "$work"/quillon/*.pdf)" -v b="$(bytes "$work"/ocrmypdf/*.pdf)" \
    'BEGIN {printf "size, quillon / ocrmypdf:        %.2f (goal at most 1)\n", a / b}'
fi
if [ -d "$work/tiff2pdf" ]; then
  plain=$(bytes "$work"/plain/*.pdf) other=$(bytes "$work"/tiff2pdf/*.pdf)
  awk -v a="$plain" -v b="$other" -v n="$pages" 'BEGIN {
    printf "PDF without text: quillon %d bytes, tiff2pdf %d bytes, %+.0f bytes a file (goal at most +3072)\n",
           a, b, (a - b) / n }'
fi
