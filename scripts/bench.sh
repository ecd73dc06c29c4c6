#!/usr/bin/env bash
# Runs every benchmark in a Release build: time and peak memory of each.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD:-$top/build-bench}
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
for b in "$build"/bench/*_bench; do
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b"
done
echo "== outline tracing against potrace"
BUILD_DIR="$build" "$top/bench/outline_vs_potrace.sh"
