#!/usr/bin/env bash
# Every output the program writes is whole or absent. Each kind (PNG frames, the contact sheet, the
# trace, the capture) is written once under a file-size limit (writes past it fail with EFBIG) and
# must then fail loudly: one "cannot write PATH: reason" line, a non-zero exit, no target (or the
# previous whole one) and no .part; written again without the limit it is whole. The spectrum file,
# /dev/full, a closed pipe and SIGTERM (capture and spectrum recording) are covered too.
# Usage: outputs_smoke.sh REDKITE CONTENT_DIR
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
redkite=$1
content=$(cd "$2" 2>/dev/null && pwd) || skip "no content folder $2"
for tool in ffmpeg ffprobe python3 Xvfb; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -f "$content/RV07/Vemir-Red Kite.mp3" ] || skip "no generated content in $content"
work=$(mktemp -d)
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# limited KB COMMAND...: the command with writes past KB kilobytes failing (SIGXFSZ ignored).
limited() { (trap '' XFSZ; ulimit -f "$1"; shift; exec "$@"); }

# expect_failure NAME TARGET LOG CODE: the failed run said why in one line and left nothing behind.
expect_failure() {
  local name=$1 target=$2 log=$3 code=$4
  [ "$code" -ne 0 ] || fail "$name: exit 0 after a failed write"
  [ "$(grep -c "^redkite: cannot write $target: .*\(File too large\|No space left on device\)" "$log")" -eq 1 ] ||
    { cat "$log"; fail "$name: no single 'cannot write $target: reason' line"; }
  [ ! -e "$target.part" ] || fail "$name: $target.part left behind"
}

# PNG frames: the first write that fails stops the run; no frame is left cut short.
limited 100 "$redkite" --content "$content" render --at 10,20,30 --out "$work/frames" >"$work/log" 2>&1
expect_failure render "$work/frames/0010.000.png" "$work/log" $?
[ -z "$(ls -A "$work/frames")" ] || fail "render: files left: $(ls "$work/frames")"
"$redkite" --content "$content" render --at 10 --size 320x240 --out "$work/frames" >/dev/null 2>&1 || fail "render"
ffprobe -v error "$work/frames/0010.000.png" || fail "render: the frame does not decode"

# Contact sheet over a previous one: the old sheet survives the failed write untouched.
echo "previous sheet" >"$work/sheet.png"
limited 100 "$redkite" --content "$content" render --sheet "$work/sheet.png" >"$work/log" 2>&1
expect_failure sheet "$work/sheet.png" "$work/log" $?
[ "$(cat "$work/sheet.png")" = "previous sheet" ] || fail "sheet: the previous file was overwritten"

# Trace: to a file, to /dev/full, into a closed pipe (ends quietly with SIGPIPE's status).
limited 20 "$redkite" --content "$content" trace --at 10,20,30 --out "$work/t.jsonl" >"$work/log" 2>&1
expect_failure trace "$work/t.jsonl" "$work/log" $?
[ ! -e "$work/t.jsonl" ] || fail "trace: a cut-short trace was left"
"$redkite" --content "$content" trace --at 10,20,30 --out /dev/full >"$work/log" 2>&1
expect_failure "trace to /dev/full" /dev/full "$work/log" $?
"$redkite" --content "$content" trace --at 10,20,30 2>"$work/log" | head -1 >/dev/null
[ "${PIPESTATUS[0]}" -eq 141 ] || fail "trace | head: exit ${PIPESTATUS[0]}, not 141"
[ ! -s "$work/log" ] || { cat "$work/log"; fail "trace | head: printed an error"; }
"$redkite" --content "$content" trace --at 10 --out "$work/t.jsonl" >/dev/null 2>&1 || fail "trace"
tail -1 "$work/t.jsonl" | python3 -c "import json,sys; json.loads(sys.stdin.read())" || fail "trace: last line cut"

# Spectrum file from the decoded music.
limited 20 "$redkite" --content "$content" spectrum --out "$work/fft.txt" >"$work/log" 2>&1
expect_failure spectrum "$work/fft.txt" "$work/log" $?
[ ! -e "$work/fft.txt" ] || fail "spectrum: a cut-short file was left"

# Capture: ffmpeg's full-disk error must not pass for a finished file.
limited 60 "$redkite" --content "$content" capture --from 30 --to 33 --fps 30 --size 320x240 \
  --out "$work/x.mp4" >"$work/log" 2>&1
expect_failure capture "$work/x.mp4" "$work/log" $?
[ ! -e "$work/x.mp4" ] || fail "capture: a broken file was left"

# SIGTERM while a capture is written: no .part survives.
"$redkite" --content "$content" capture --from 30 --to 200 --fps 10 --size 320x240 --out "$work/k.mp4" \
  >/dev/null 2>&1 &
capture=$!
for _ in $(seq 600); do [ -e "$work/k.mp4.part" ] && break; sleep 0.1; done
[ -e "$work/k.mp4.part" ] || fail "capture: no .part while writing"
sleep 1
kill -TERM "$capture"
wait "$capture"
sleep 0.5
[ ! -e "$work/k.mp4.part" ] && [ ! -e "$work/k.mp4" ] || fail "capture: SIGTERM left $(ls "$work" | grep k.mp4)"

# SIGTERM while the show records the spectrum (no spectrum file: it plays the piece silently).
copy=$work/content
mkdir -p "$copy/RV07/syncdata"
for entry in "$content"/*; do [ "$(basename "$entry")" = RV07 ] || ln -s "$entry" "$copy/"; done
ln -s "$content/RV07/Vemir-Red Kite.mp3" "$copy/RV07/"
display=":$((200 + ($$ + 7) % 500))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display SDL_AUDIODRIVER=dummy "$redkite" --content "$copy" --no-dialog --size 320x240 >"$work/show.log" 2>&1 &
show=$!
part="$copy/RV07/syncdata/fft.txt.part"
for _ in $(seq 600); do [ -e "$part" ] && break; sleep 0.1; done
[ -e "$part" ] || { cat "$work/show.log"; fail "spectrum: no .part while recording"; }
sleep 1
kill -TERM "$show"
wait "$show"
[ ! -e "$part" ] && [ ! -e "$copy/RV07/syncdata/fft.txt" ] || fail "spectrum: SIGTERM left a file"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
