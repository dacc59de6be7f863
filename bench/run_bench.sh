#!/usr/bin/env bash
# Builds velloran_bench (Release) and prints the benchmark table: figures for 10 lines, 1 MB
# and 10 MB side by side, with the budgets beside them. Takes a few minutes.
#   bash bench/run_bench.sh [build folder, default build]
#   bash bench/run_bench.sh --xvfb [build folder]   the full-screen window's CPU share and CPU
#                                                   time per tick on Xvfb (bench/cpu_table.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
xvfb=false
if [ "${1:-}" = "--xvfb" ]; then
  xvfb=true
  shift
fi
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
fi
if ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
  echo "run_bench: $build is not a Release build; its figures would not compare" >&2
fi
cmake --build "$build" --target velloran_bench -j "$(nproc)" >&2
if $xvfb; then
  cmake --build "$build" --target velloran -j "$(nproc)" >&2
  exec bash bench/cpu_table.sh "$build/velloran"
fi
exec "$build/velloran_bench" --table
