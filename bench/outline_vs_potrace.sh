#!/bin/bash
# Outline tracing against potrace on the same large black-and-white scan.
#
# Makes a 4096 x 4096 1-bit BMP with about 4,000 filled blobs, then runs,
# alternating, (a) outline_bench: our decoder into the compact map plus outline
# tracing, (b) the whole korvane-cli conversion (reading, outline tracing, NC
# build, writing the program), and (c) `potrace -s` on the same BMP to SVG. Each run is its own
# process; wall time, CPU time (user + system, 10 ms steps) and peak resident
# memory are taken per process. On a busy machine the CPU times are the
# steadier comparison.
#
# Environment: BUILD_DIR (default <repo>/build-bench), WORK (scratch folder),
# ROUNDS (default 5).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build-bench}
WORK=${WORK:-/tmp/korvane-outline-bench}
ROUNDS=${ROUNDS:-5}

if ! command -v potrace >/dev/null; then
  if [ "$(id -u)" = 0 ]; then
    apt-get install -y potrace
  else
    echo "potrace is missing; install it with:"
    echo "  sudo apt-get install -y potrace"
    exit 1
  fi
fi
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install -y time)"; exit 1; }

if [ ! -x "$BUILD_DIR/bench/outline_bench" ] || [ ! -x "$BUILD_DIR/src/korvane-cli" ]; then
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DKORVANE_GUI=OFF -DKORVANE_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$BUILD_DIR" --target outline_bench korvane-cli -j2 >/dev/null

mkdir -p "$WORK"
PIC=$WORK/blobs.bmp
[ -f "$PIC" ] || /usr/bin/python3 "$ROOT/bench/outline_blobs.py" "$PIC" 4096 4000 1

# run NAME CMD...: one timed process; appends "NAME wall_us kib cpu_s" to $WORK/runs
run() {
  local name=$1
  shift
  local t0 t1
  t0=$(date +%s%N)
  /usr/bin/time -f "%M %U %S" -o "$WORK/rss" "$@" >"$WORK/$name.out"
  t1=$(date +%s%N)
  read -r kib user sys <"$WORK/rss"
  echo "$name $(((t1 - t0) / 1000)) $kib $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" >>"$WORK/runs"
}

: >"$WORK/runs"
for ((i = 1; i <= ROUNDS; i++)); do
  run korvane "$BUILD_DIR/bench/outline_bench" "$PIC"
  run cli "$BUILD_DIR/src/korvane-cli" "$PIC" -o "$WORK/blobs.nc" --config "$WORK/config" --quiet
  run potrace potrace -s "$PIC" -o "$WORK/blobs.svg"
done

echo "picture: $PIC ($(stat -c %s "$PIC") bytes)"
echo "korvane: $(cat "$WORK/korvane.out")"
echo "korvane-cli: $(wc -l <"$WORK/blobs.nc") NC lines"
echo "potrace: $(grep -c '<path' "$WORK/blobs.svg") SVG paths"
echo
# table NAME: one row per round, NAME beside potrace
table() {
  echo "round  ${1}_ms  cpu_ms  ${1}_kib  potrace_ms  cpu_ms  potrace_kib"
  awk -v name="$1" '$1 == name { kt[++k] = $2; km[k] = $3; kc[k] = $4 }
       $1 == "potrace" { pt[++p] = $2; pm[p] = $3; pc[p] = $4 }
       END { for (i = 1; i <= k; i++)
               printf "%5d  %10.1f  %6d  %11d  %10.1f  %6d  %11d\n", i, kt[i] / 1000, kc[i] * 1000,
                      km[i], pt[i] / 1000, pc[i] * 1000, pm[i] }' \
    "$WORK/runs"
}
table korvane
echo
table cli
awk 'function median(a, n,   i, j, t) {
       for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
       return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
     $1 == "korvane" { kt[++k] = $2; km[k] = $3; kc[k] = $4 }
     $1 == "potrace" { pt[++p] = $2; pm[p] = $3; pc[p] = $4 }
     $1 == "cli" { ct[++q] = $2; cm[q] = $3; cc[q] = $4 }
     END { a = median(kt, k); b = median(pt, p); c = median(km, k); d = median(pm, p)
           e = median(kc, k); f = median(pc, p)
           printf "\nmedian wall time: korvane %.1f ms, potrace %.1f ms, ratio korvane/potrace %.2f\n", a / 1000, b / 1000, a / b
           printf "median CPU time:  korvane %.0f ms, potrace %.0f ms, ratio korvane/potrace %.2f\n", e * 1000, f * 1000, (f > 0 ? e / f : 0)
           printf "median memory:    korvane %d KiB, potrace %d KiB, ratio korvane/potrace %.2f\n", c, d, c / d
           g = median(ct, q); h = median(cm, q); i = median(cc, q)
           printf "whole korvane-cli conversion: wall %.1f ms (ratio to potrace %.2f), CPU %.0f ms (ratio %.2f), memory %d KiB (ratio %.2f)\n", g / 1000, g / b, i * 1000, (f > 0 ? i / f : 0), h, h / d }' \
  "$WORK/runs"
