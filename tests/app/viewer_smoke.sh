#!/usr/bin/env bash
# The viewer's side of the window on a virtual display narrower than (900, 0) plus the window: the
# window is moved onto the desktop; Space pauses, H shows the status bar over the paused frame;
# with --watch a broken effect file is reported and a mended one reloaded; Escape ends it.
# Usage: viewer_smoke.sh REDKITE CONTENT_DIR
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
redkite=$1
content=$(realpath "$2")
require_tools Xvfb xdotool ffmpeg python3
[ -d "$content/RV07" ] || skip "no generated content in $content"

make_work_folder
fail() {
  echo "FAIL: $1"
  cat "$work/show.log"
  exit 1
}
start_display 800x600

# The content with its own copy of the effect files, so they can be rewritten.
copy=$work/content
mkdir -p "$copy/quarvdemo"
for entry in "$content"/*; do [ "$(basename "$entry")" = quarvdemo ] || ln -s "$entry" "$copy/"; done
for entry in "$content"/quarvdemo/*; do [ "$(basename "$entry")" = shaders ] || ln -s "$entry" "$copy/quarvdemo/"; done
cp -r "$content/quarvdemo/shaders" "$copy/quarvdemo/"

SDL_AUDIODRIVER=dummy "$redkite" --content "$copy" --size 640x480 --start 30 --watch >"$work/show.log" 2>&1 &
show=$!
window=$(timeout 60 xdotool search --sync --name '^Tinkerfolks - Red Kite$' | head -1)
[ -n "$window" ] || fail "the show's window did not open"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X" -eq 160 ] && [ "$Y" -eq 0 ] || fail "the window is at ($X, $Y), not (160, 0) on an 800-pixel desktop"

grab() {
  ffmpeg -loglevel error -y -f x11grab -video_size 800x600 -i "$display" -frames:v 1 -f rawvideo -pix_fmt rgb24 "$1"
}
# The bar's rows (the bottom 62 of the window, 480 high at the top of the screen) differ between the paused frame and the paused frame
# with the bar; the rows above it stay the same.
sleep 8
xdotool key space
sleep 2
grab "$work/paused.rgb"
xdotool key h
sleep 2
grab "$work/bar.rgb"
python3 - "$work/paused.rgb" "$work/bar.rgb" <<'PY' || fail "the status bar did not appear over the paused frame alone"
import sys
a, b = (open(p, "rb").read() for p in sys.argv[1:])
row = 800 * 3
def changed(top, bottom):
    return sum(1 for y in range(top, bottom) for x in range(160 * 3, 800 * 3, 3) if a[y * row + x] != b[y * row + x])
above, bar = changed(0, 418), changed(418, 480)
print(f"changed pixels: {above} above the bar, {bar} in it")
sys.exit(0 if above == 0 and bar > 2000 else 1)
PY

effect=$(ls "$copy"/quarvdemo/shaders/*.fx | head -1)
cp "$effect" "$work/good.fx"
# A line that is not GLSL at the top of the first fragment shader.
python3 - "$effect" <<'PY'
import sys
lines = open(sys.argv[1]).read().split("\n")
first = next(i for i, line in enumerate(lines) if line.startswith("--- fragment"))
lines.insert(first + 1, "this is not glsl;")
open(sys.argv[1], "w").write("\n".join(lines))
PY
for _ in $(seq 50); do grep -q "$(basename "$effect")(" "$work/show.log" && break; sleep 0.2; done
grep -q "$(basename "$effect")([0-9]*): " "$work/show.log" || fail "no path(line): message for the broken effect"
cp "$work/good.fx" "$effect"
for _ in $(seq 50); do grep -q "reloaded .*$(basename "$effect")" "$work/show.log" && break; sleep 0.2; done
grep -q "reloaded .*$(basename "$effect")" "$work/show.log" || fail "the mended effect was not reloaded"

xdotool key Escape
for _ in $(seq 100); do kill -0 "$show" 2>/dev/null || break; sleep 0.1; done
wait "$show"
code=$?
show=
[ "$code" -eq 1 ] || fail "the show ended with exit code $code, not 1"
echo "PASS: window on the desktop, pause, status bar, --watch, Escape"
