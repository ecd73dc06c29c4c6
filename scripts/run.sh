#!/usr/bin/env bash
# Starts Korvane with the shipped sample picture. Without a display (or before
# the desktop program is built) it converts the sample with korvane-cli instead.
set -euo pipefail
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
sample="$top/samples/korvane-sample.bmp"
if [ -x "$build/src/korvane" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/korvane" "$sample"
fi
if [ -x "$build/src/korvane" ]; then
  echo "No display found (DISPLAY is not set): converting the sample with korvane-cli instead."
fi
out="$top/out/korvane-sample.ngc"
mkdir -p "$top/out"
"$build/src/korvane-cli" "$sample" -o "$out"
echo "NC program written to $out"
