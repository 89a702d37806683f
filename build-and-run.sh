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
# The capture's size, frame rate and stretch of music, from the options when given.
size=1280x720
fps=60
from=0
to=281
args=("$@")
for ((i = 0; i < ${#args[@]}; ++i)); do
  case "${args[i]}" in
    --size) size=${args[i + 1]:-$size} ;;
    --size=*) size=${args[i]#--size=} ;;
    --fps) fps=${args[i + 1]:-$fps} ;;
    --fps=*) fps=${args[i]#--fps=} ;;
    --from) from=${args[i + 1]:-$from} ;;
    --from=*) from=${args[i]#--from=} ;;
    --to) to=${args[i + 1]:-$to} ;;
    --to=*) to=${args[i]#--to=} ;;
  esac
done
# Rough time on this machine: a short capture of 25 frames at that size, less a capture of one
# frame (the start-up), per frame.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
capture_ns() {
  local start
  start=$(date +%s%N)
  ./build/redkite --content build/content capture --size "$size" --fps "$fps" --from 200 \
    --to "$(python3 -c "print(200 + $1 / $fps)")" --out "$probe/probe.mp4" > /dev/null 2>&1 || true
  echo $(( $(date +%s%N) - start ))
}
one=$(capture_ns 1)
many=$(capture_ns 25)
per_frame=$(( (many - one) / 24 ))
frames=$(python3 -c "import sys; print(max(0, int((float(sys.argv[2]) - float(sys.argv[1])) * float(sys.argv[3]))))" \
  "$from" "$to" "$fps" 2>/dev/null || echo $(( 281 * fps )))
seconds=$(( frames * per_frame / 1000000000 ))
if [ "$seconds" -lt 60 ]; then estimate="under a minute"; else estimate="roughly $(( (seconds + 30) / 60 )) minutes"; fi
echo "No display: capturing the show, $frames frames at $size and $fps fps, to build/redkite.mp4;"
echo "on this machine that takes $estimate."
./build/redkite capture --out build/redkite.mp4 "$@"
echo "The show is in $(pwd)/build/redkite.mp4"
