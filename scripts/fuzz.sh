#!/usr/bin/env bash
# Runs one fuzz target of a build made with -DQUILLON_FUZZ=ON for a while:
#   scripts/fuzz.sh TARGET SECONDS [BUILD-FOLDER]    (default build-fuzz)
# Targets: file_conversion decoder codec encoder ini command_line tiff_reader
# dcx_reader g3_reader cals_reader bmp_reader speckle thumbnail.
# It starts from the seeds made at build time, the inputs of earlier runs and
# the kept regression inputs, uses the target's dictionary when there is one,
# and runs one process at the lowest priority. An allocation of 64 MiB or more
# counts as a finding (more than a whole conversion may take).
# Findings land in BUILD-FOLDER/fuzz/findings/, the log in
# BUILD-FOLDER/fuzz/logs/TARGET.log.
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1 seconds=$2 build=${3:-build-fuzz}
max_len=4096 malloc_limit=64
case $target in
  file_conversion|tiff_reader|dcx_reader|g3_reader|cals_reader|bmp_reader|thumbnail) max_len=20000 ;;
esac
inputs=$build/fuzz/inputs/$target
mkdir -p "$inputs" "$build/fuzz/findings" "$build/fuzz/logs"
# Seeds come from the corpus pages beside the project; without them a target
# starts from its kept inputs alone.
dirs=("$inputs")
[ -d "$build/fuzz/seeds/$target" ] && dirs+=("$build/fuzz/seeds/$target")
[ -d "fuzz/regressions/$target" ] && dirs+=("fuzz/regressions/$target")
# The thumbnailer reads what a conversion reads: it starts from that corpus.
if [ "$target" = thumbnail ]; then
  for dir in "$build/fuzz/inputs/file_conversion" "$build/fuzz/seeds/file_conversion"; do
    [ -d "$dir" ] && dirs+=("$dir")
  done
fi
options=(-max_total_time="$seconds" -max_len=$max_len -timeout=20 -rss_limit_mb=1024 -malloc_limit_mb=$malloc_limit
         -artifact_prefix="$build/fuzz/findings/$target-" -print_final_stats=1)
[ -f "fuzz/dict/$target.dict" ] && options+=(-dict="fuzz/dict/$target.dict")
log=$build/fuzz/logs/$target.log
if ! ASAN_OPTIONS=quarantine_size_mb=64 nice -n 19 "$build/fuzz/quillon_${target}_fuzzer" "${options[@]}" \
    "${dirs[@]}" >"$log" 2>&1; then
  tail -n 40 "$log"
  echo "fuzz target $target: finding, see $log" >&2
  exit 1
fi
echo "fuzz target $target: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
