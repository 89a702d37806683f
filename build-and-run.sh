#!/usr/bin/env bash
# Installs what is missing, builds everything into build/ and runs the show: in a window on a
# desktop, or, on a machine without a display, as a video capture of the whole show with its music.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
redkite_install_packages
redkite_build
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/redkite "$@"
fi
echo "No display: capturing the whole show to build/redkite.mp4 instead of opening a window."
./build/redkite capture --out build/redkite.mp4 "$@"
echo "The show is in $(pwd)/build/redkite.mp4"
