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
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1
fi
# One Wine server for all the runs: each program then starts in a fraction
# of the time.
wineserver -p
stage=$(mktemp -d)
trap 'wineserver -k || true; rm -rf "$stage"' EXIT
(cd "$stage" && python3 -m zipfile -e "$zip" .)
export QUILLON_WINE=$wine
QUILLON_EXE=$(ls "$stage"/quillon-*/quillon.exe)
export QUILLON_EXE

linux_only=(
  # POSIX permissions, owners and the user nobody
  'DamagedArchive.AnUnreadableSubFolderIsNamedAndTheRestIsConverted'
)
filter=$(IFS=:; echo "${linux_only[*]}")
status=0
"$linux_build/tests/e2e/quillon_cli_tests" --gtest_filter="-$filter" --gtest_brief=1 || status=1
"$linux_build/tests/windows/quillon_windows_tests" --gtest_brief=1 || status=1
exit "$status"
