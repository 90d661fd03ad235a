#!/usr/bin/env bash
# Installs what is needed, builds Batch Quillon and runs every test; the fuzz
# targets are built with clang and each runs for a short while first, from its
# seeds and its kept regression inputs. Last, the cluster test runs the
# manual's Slurm job-array script on a one-node Slurm of its own (77: skipped,
# not root and no passwordless sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQUILLON_FUZZ=ON -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF \
  -DQUILLON_GUI=OFF >/dev/null
cmake --build build-fuzz -j2
for target in file_conversion decoder codec encoder ini command_line tiff_reader dcx_reader g3_reader \
    cals_reader bmp_reader speckle; do
  scripts/fuzz.sh "$target" 15
done

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
status=0
tests/cluster/slurm_array_test.sh build || status=$?
[ "$status" -eq 77 ] || exit "$status"
