#!/usr/bin/env bash
# Installs what is needed, builds Batch Quillon, makes a demo folder of WinFax
# files and converts it to TIFF.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target quillon make_demo_faxes
rm -rf demo
build/tools/make_demo_faxes demo/faxes
QUILLON_HOME="$PWD/demo/home" build/src/quillon /d=demo/faxes /sd=demo/tiff /i /kh
echo
echo "TIFF files are in $PWD/demo/tiff:"
find demo/tiff -type f | sort
