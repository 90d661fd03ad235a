#!/usr/bin/env bash
# Installs what is needed, builds Batch Quillon and runs every test; the codec
# fuzzer is built with clang and run for a short while first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

CXX=clang++ cmake -S . -B build-fuzz -DQUILLON_FUZZ=ON -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF \
  -DQUILLON_GUI=OFF >/dev/null
cmake --build build-fuzz -j2 --target quillon_codec_fuzzer
mkdir -p build-fuzz/inputs
if ! build-fuzz/fuzz/quillon_codec_fuzzer build-fuzz/inputs -max_total_time=30 -max_len=4096 \
    2>build-fuzz/fuzz.log; then
  tail -n 60 build-fuzz/fuzz.log
  exit 1
fi
echo "codec fuzzer: $(grep -c . build-fuzz/fuzz.log) lines of log, no finding in 30 s"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
