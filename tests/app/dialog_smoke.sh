#!/usr/bin/env bash
# Smoke test of the program a person starts: on a virtual display the setup dialog opens, Run is
# clicked, and the show's window presents its first frames; Escape then ends it with exit code 1.
# Usage: dialog_smoke.sh REDKITE CONTENT_DIR
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
redkite=$1
content=$2
require_tools Xvfb xdotool ffmpeg python3
[ -d "$content/RV07" ] || skip "no generated content in $content"

make_work_folder
start_display 1024x768

"$redkite" --content "$content" --start 93 >"$work/show.log" 2>&1 &
show=$!
dialog=$(timeout 20 xdotool search --sync --name '^stillness$' | head -1)
[ -n "$dialog" ] || { echo "FAIL: the setup dialog did not open"; cat "$work/show.log"; exit 1; }

# Run sits at (84, 94) dialog units, 44 x 14; a dialog unit is 1.5 x 1.625 pixels. On a busy
# machine the first click can land before the dialog has drawn its button, so click until the
# show's window opens.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
window=
for _ in $(seq 20); do
  xdotool mousemove $((X + 159)) $((Y + 164)) click 1
  window=$(xdotool search --name '^Tinkerfolks - Red Kite$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 1
done
[ -n "$window" ] || { echo "FAIL: the show's window did not open"; cat "$work/show.log"; exit 1; }

# The presented frame: the window holds a picture, not one flat colour. Start-up and the first
# frames take a while on llvmpipe, so look for up to half a minute.
found=
for _ in $(seq 30); do
  sleep 1
  ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$display" -frames:v 1 -f rawvideo -pix_fmt rgb24 \
    "$work/screen.rgb" || continue
  python3 - "$work/screen.rgb" <<'PY' && { found=yes; break; }
import sys
data = open(sys.argv[1], "rb").read()
values = [sum(data[i:i + 3]) / 3 for i in range(0, len(data), 3 * 97)]
mean = sum(values) / len(values)
spread = (sum((v - mean) ** 2 for v in values) / len(values)) ** 0.5
print(f"screen mean {mean:.1f}, spread {spread:.1f}, brightest {max(values):.0f}")
sys.exit(0 if max(values) >= 16 and spread >= 2 else 1)
PY
done
[ -n "$found" ] || { echo "FAIL: no presented picture in the window"; cat "$work/show.log"; exit 1; }

xdotool key Escape
for _ in $(seq 100); do kill -0 "$show" 2>/dev/null || break; sleep 0.1; done
wait "$show"
code=$?
show=
[ "$code" -eq 1 ] || { echo "FAIL: the show ended with exit code $code, not 1"; cat "$work/show.log"; exit 1; }
echo "PASS: dialog, Run, first frames, Escape"
