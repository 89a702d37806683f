#!/usr/bin/env bash
# Installs what the show needs, builds the show alone (no tests, benchmarks or fuzz targets) into
# build/ and runs it: in a window on a desktop, or, on a machine without a display, as a video
# capture of the whole show with its music. Options after the command go to the program
# (./build-and-run.sh --size 640x480 --fps 30 on a headless machine).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
redkite_install_packages show
redkite_build -DREDKITE_BUILD_TESTS=OFF -DREDKITE_BUILD_BENCH=OFF
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/redkite "$@"
fi
# The capture's size and frame rate, from the options when given.
size=1280x720
fps=60
args=("$@")
for ((i = 0; i < ${#args[@]}; ++i)); do
  case "${args[i]}" in
    --size) size=${args[i + 1]:-$size} ;;
    --size=*) size=${args[i]#--size=} ;;
    --fps) fps=${args[i + 1]:-$fps} ;;
    --fps=*) fps=${args[i]#--fps=} ;;
  esac
done
# Rough time on this machine: a dozen frames across the show at that size, less the start-up (one
# frame alone), and a quarter more for the encoding that shares the cores.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
render_ns() {
  local start
  start=$(date +%s%N)
  ./build/redkite --content build/content render --size "$size" --out "$probe" --at "$1" > /dev/null 2>&1 || true
  echo $(( $(date +%s%N) - start ))
}
one=$(render_ns 10)
dozen=$(render_ns 10,35,60,80,100,125,140,170,200,235,260,270,275)
per_frame=$(( (dozen - one) / 12 ))
frames=$(( 281 * fps ))
minutes=$(( frames * per_frame * 5 / 4 / 60000000000 + 1 ))
echo "No display: capturing the whole show, $frames frames at $size and $fps fps, to build/redkite.mp4;"
echo "on this machine that takes roughly $minutes minutes."
./build/redkite capture --out build/redkite.mp4 "$@"
echo "The show is in $(pwd)/build/redkite.mp4"
