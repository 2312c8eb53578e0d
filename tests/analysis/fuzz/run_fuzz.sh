#!/usr/bin/env bash
# Builds the analysis fuzzer with clang in a build directory of its own, then fuzzes for a
# bounded time from a fresh corpus with a fixed seed. Usage: run_fuzz.sh SOURCE WORK [SECONDS]
# (CLANGXX names the compiler, clang++ by default)
set -euo pipefail
src=$1
work=$2
seconds=${3:-30}

cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_CXX_COMPILER="${CLANGXX:-clang++}" \
  -DTRELVANE_GUI=OFF -DBUILD_TESTING=OFF -DTRELVANE_FUZZ=ON >/dev/null
cmake --build "$work/build" -j2 --target trelvane_analyze_fuzzer

rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/artifacts"
"$work/build/tests/analysis/fuzz/trelvane_analyze_fuzzer" \
  -max_total_time="$seconds" -seed=20261208 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
