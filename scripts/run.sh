#!/usr/bin/env bash
# Starts Korvane with the shipped sample picture. Without a display (or before
# the desktop program is built) it converts the sample with korvane-cli instead.
set -euo pipefail
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
sample="$top/samples/korvane-sample.bmp"
if [ -x "$build/korvane" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/korvane" "$sample"
fi
if [ -x "$build/korvane" ]; then
  echo "No display found (DISPLAY is not set): converting the sample with korvane-cli instead."
fi
out="$top/out/korvane-sample.ngc"
mkdir -p "$top/out"
"$build/korvane-cli" "$sample" -o "$out"
echo "NC program written to $out"
