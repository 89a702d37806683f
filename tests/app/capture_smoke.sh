#!/usr/bin/env bash
# Captures of the real show: a two-second capture has fps x 2 frames, lasts two seconds and has one
# audio stream; its frames are the pictures `render --at` draws at the same times; a capture
# stopped with Ctrl-C leaves a file ffprobe can read.
# Usage: capture_smoke.sh REDKITE CONTENT_DIR
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
redkite=$1
content=$2
for tool in ffmpeg ffprobe python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -f "$content/RV07/Vemir-Red Kite.mp3" ] || skip "no generated content in $content"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$redkite" capture --content "$content" --from 30 --to 32 --fps 10 --size 320x240 --out "$work/two.mp4" \
  >"$work/log" 2>&1 || { cat "$work/log"; fail "capture failed"; }
probe=$(ffprobe -v error -count_frames -show_entries stream=codec_type,nb_read_frames:format=duration \
  -of default=noprint_wrappers=1 "$work/two.mp4")
echo "$probe"
echo "$probe" | grep -q '^nb_read_frames=20$' || fail "expected 20 video frames"
[ "$(echo "$probe" | grep -c '^codec_type=audio$')" -eq 1 ] || fail "expected one audio stream"
duration=$(echo "$probe" | sed -n 's/^duration=//p')
python3 -c "import sys; d=float('$duration'); sys.exit(0 if abs(d - 2.0) < 0.1 else 1)" || fail "duration $duration"

# Frame 15 (31.5 s) against the same time rendered directly: the same picture up to compression.
"$redkite" render --content "$content" --at 31.5 --size 320x240 --out "$work/frames" >/dev/null 2>&1 || fail "render"
psnr=$(ffmpeg -loglevel info -i "$work/two.mp4" -i "$work/frames/0031.500.png" -filter_complex \
  "[0:v]select=eq(n\,15),format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr" -f null - 2>&1 |
  sed -n 's/.*PSNR.* average:\([0-9.inf]*\).*/\1/p' | tail -1)
echo "PSNR of frame 15 against render --at 31.5: $psnr dB"
python3 -c "import sys; p='$psnr'; sys.exit(0 if p == 'inf' or (p and float(p) > 28) else 1)" || fail "frame 15 differs"

# Ctrl-C after a moment: the capture stops between frames and the file is finished.
"$redkite" capture --content "$content" --from 30 --to 200 --fps 10 --size 320x240 --out "$work/cut.mp4" \
  >"$work/cutlog" 2>&1 &
capture=$!
sleep 4
kill -INT "$capture"
wait "$capture"
code=$?
[ "$code" -eq 130 ] || { cat "$work/cutlog"; fail "interrupted capture ended with $code, not 130"; }
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 \
  "$work/cut.mp4") || fail "ffprobe cannot read the interrupted capture"
echo "interrupted capture: $frames frames"
[ "${frames:-0}" -gt 0 ] || fail "the interrupted capture has no frames"
echo "PASS"
