#!/usr/bin/env bash
# Compares korvane-cli of a base commit with the working tree's byte for byte:
# the NC program and the move list for every contour type, every
# post-processing option and every profile, on the shipped sample and on
# generated 4096 x 4096 pictures.
#   scripts/compare_outputs.sh [BASE_COMMIT] [BASE_CLI] [NEW_CLI]
# Without BASE_CLI the base commit is exported and its korvane-cli built in a
# scratch folder; without NEW_CLI build/src/korvane-cli is built and used.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-32b8714}
work=$(mktemp -d /tmp/korvane-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

base_cli=${2:-}
if [ -z "$base_cli" ]; then
  mkdir -p "$work/base-src"
  git -C "$root" archive "$base" | tar -x -C "$work/base-src"
  cmake -S "$work/base-src" -B "$work/base-build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKORVANE_GUI=OFF -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
  cmake --build "$work/base-build" -j2 --target korvane-cli >/dev/null
  base_cli="$work/base-build/src/korvane-cli"
fi
new_cli=${3:-}
if [ -z "$new_cli" ]; then
  cmake --build "$root/build" -j2 --target korvane-cli >/dev/null
  new_cli="$root/build/src/korvane-cli"
fi

# Pictures: the sample, blobs with holes, and a drawing of strokes over grey noise
# (not black and white, so the threshold runs too).
pics=("$root/samples/korvane-sample.bmp")
/usr/bin/python3 "$root/bench/outline_blobs.py" "$work/blobs.bmp" 4096 4000 1
convert -size 4096x4096 xc:white -seed 7 +noise Random -colorspace Gray -blur 0x6 \
  -stroke black -strokewidth 9 -fill none -draw "circle 2048,2048 2048,300" \
  -draw "line 100,100 3900,3700" -draw "polyline 300,3800 1200,2600 2100,3800 3000,2600 3900,3800" \
  -type TrueColor "BMP3:$work/drawing.bmp"
big=("$work/blobs.bmp" "$work/drawing.bmp")

runs=0
diffs=0
run_case() {  # picture, label, options...
  local pic=$1 label=$2
  shift 2
  local out
  for which in base new; do
    local cli=$base_cli
    [ $which = new ] && cli=$new_cli
    out="$work/$which"
    rm -rf "$out" && mkdir -p "$out"
    set +e
    "$cli" "$pic" -o "$out/prog.nc" --moves "$out/moves.txt" --config "$work/config-$which" --quiet "$@" \
      >"$out/stdout" 2>"$out/stderr"
    echo $? >"$out/status"
    set -e
  done
  runs=$((runs + 1))
  for f in prog.nc moves.txt stdout stderr status; do
    if ! cmp -s "$work/base/$f" "$work/new/$f" 2>/dev/null; then
      if [ -e "$work/base/$f" ] || [ -e "$work/new/$f" ]; then
        echo "DIFFERENT: $(basename "$pic") $label: $f"
        diffs=$((diffs + 1))
      fi
    fi
  done
}

contours=(outline centreline scan scan-negative)
posts=("" "--follow-lines" "--optimise" "--optimise --no-reverse")
for pic in "${pics[@]}"; do
  for c in "${contours[@]}"; do
    for p in "${posts[@]}"; do
      for prof in 1 2 3 4; do
        # shellcheck disable=SC2086
        run_case "$pic" "$c $p --profile $prof" --contour "$c" $p --profile "$prof"
      done
    done
  done
done
for pic in "${big[@]}"; do
  for c in "${contours[@]}"; do
    for p in "${posts[@]}"; do
      # shellcheck disable=SC2086
      run_case "$pic" "$c $p" --contour "$c" $p --diameter 2 --scale 0.1
    done
    for prof in 2 3 4; do
      run_case "$pic" "$c --profile $prof" --contour "$c" --profile "$prof"
    done
  done
done
echo "compared $runs runs (NC program, move list, output and exit status each): $diffs differences"
[ "$diffs" -eq 0 ]
