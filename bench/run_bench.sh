#!/usr/bin/env bash
# Builds velloran_bench (Release) and prints the benchmark table: figures for 10 lines, 1 MB
# and 10 MB side by side, with the budgets beside them. Takes a few minutes.
#   bash bench/run_bench.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
fi
if ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
  echo "run_bench: $build is not a Release build; its figures would not compare" >&2
fi
cmake --build "$build" --target velloran_bench -j "$(nproc)" >&2
exec "$build/velloran_bench" --table
