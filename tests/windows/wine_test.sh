#!/usr/bin/env bash
# Runs the end-to-end tests on the Windows program under Wine: the zip is
# unpacked as a user would, and the Linux build's test programs start its
# quillon.exe through wine64 (tests/support/run_process.h), on the pages the
# tests make. The cases that only make sense on Linux (they need POSIX
# permissions, signals, links or the Linux program's own libraries) are left
# out by name below; the Windows cases (tests/windows/) run here alone.
#
#   tests/windows/wine_test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
windows_build=$(realpath "$1")
linux_build=$(realpath "$2")
zip=$(ls "$windows_build"/quillon-*-windows-x64.zip | head -n 1)
for program in "$linux_build/tests/e2e/quillon_cli_tests" "$linux_build/tests/windows/quillon_windows_tests"; do
  [ -x "$program" ] || { echo "FAIL: $program is not built" >&2; exit 1; }
done

wine=/usr/lib/wine/wine64
export WINEPREFIX="$windows_build/wine-prefix" WINEDEBUG=-all LANG=C.UTF-8
# No Mono or Gecko to offer while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
# One Wine server and its services for all the runs, kept while they run:
# each program then starts in a fraction of the time. Started here, without
# the tests' pipes: a server or service that a test's program started would
# hold its output open, and the test would wait for it forever.
wineserver -p </dev/null >/dev/null 2>&1 || true
"$wine" wineboot --init </dev/null >/dev/null 2>&1
stage=$(mktemp -d)
trap 'wineserver -k || true; rm -rf "$stage"' EXIT
(cd "$stage" && python3 -m zipfile -e "$zip" .)
export QUILLON_WINE=$wine
QUILLON_EXE=$(ls "$stage"/quillon-*/quillon.exe)
export QUILLON_EXE

linux_only=(
  # POSIX permissions, owners and the user nobody
  'DamagedArchive.AnUnreadableSubFolderIsNamedAndTheRestIsConverted'
  # no display and $TMPDIR: a Windows session always has its desktop, and
  # the program's work files go to %TEMP%
  'Cli.IncompleteCommandLineWithoutDisplayWritesUsageAndExits2'
  # a terminal of its own (script(1) runs the program directly)
  'FolderRun.ProgressLineOnATerminalOnly'
  # the log and the report read as the Linux program writes them, byte for
  # byte: the Windows program's name their files with '\' and end the
  # log's own lines in CR LF (tests/windows/ checks its report and log)
  'Cli.CommandLineRunWritesADatedLogEntryAndCleansUp'
  'FolderRun.ConvertsATreeWithResultsLinesLogAndExactPages'
  'FolderRun.ResumeConvertsOnlyWhatIsNotDoneAndTheReportKeepsOneLinePerFile'
  'OtherFormats.AMixedFolderConvertsInOneRunAndTheDefaultRunTakesOnlyWinFax'
  'FolderRun.ShardsTogetherConvertEachFileOnceAsOneRunDoes'
  # signals that end a run part-way (the Windows program's Ctrl+C is a
  # console event that Wine's pipes cannot send)
  'FileRun.InterruptedFolderRunLeavesOnlyCompleteOutputs'
  # runs at once, killed, traced or given a file system without locks: POSIX
  # processes, strace and LD_PRELOAD
  'SharedRecords.*'
  # text recognition, which the Windows program does not have
  'FileRun.Ocr*' 'FileRun.PagesWhoseTextIsNotRecognised*' 'FileRun.PagesFedUpsideDown*' 'FileRun.LineNoise*'
  'Cli.RefusedValuesAndMissingLanguages*'
)
filter=$(IFS=:; echo "${linux_only[*]}")
# Two halves of the cases at once: Wine spends most of a run starting.
status=0
for shard in 0 1; do
  GTEST_TOTAL_SHARDS=2 GTEST_SHARD_INDEX=$shard \
    "$linux_build/tests/e2e/quillon_cli_tests" --gtest_filter="-$filter" --gtest_brief=1 > "$stage/shard-$shard.log" 2>&1 &
done
for shard in 0 1; do wait -n || status=1; done
"$linux_build/tests/windows/quillon_windows_tests" --gtest_brief=1 > "$stage/windows.log" 2>&1 || status=1
cat "$stage"/shard-*.log "$stage/windows.log"
passed=$(cat "$stage"/*.log | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\.$/\1/p' | awk '{ s += $1 } END { print s + 0 }')
# (gtest names a failed case twice: where it fails and in its summary.)
failed=$(cat "$stage"/*.log | sed -n 's/^\[  FAILED  \] \([A-Za-z][^ ]*\).*/\1/p' | sort -u | wc -l)
echo "wine: ${passed:-0} passed, $failed failed"
[ "$status" -eq 0 ] && [ "${passed:-0}" -gt 0 ]
