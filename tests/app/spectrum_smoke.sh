#!/usr/bin/env bash
# The spectrum without playing the music: `redkite spectrum` writes the file the content generator
# wrote, byte for byte; music it cannot read or decode and an output it cannot open end with one
# line and exit 2; and with no spectrum file the headless commands analyse the music in memory, so
# a frame driven by the spectrum draws as it does with the file.
# Usage: spectrum_smoke.sh REDKITE CONTENT_DIR
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
redkite=$1
content=$(cd "$2" 2>/dev/null && pwd) || skip "no content folder $2"
[ -f "$content/RV07/syncdata/fft.txt" ] || skip "no generated content in $content"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$redkite" --content "$content" spectrum --out "$work/fft.txt" >"$work/log" 2>&1 || { cat "$work/log"; fail "spectrum"; }
cmp "$work/fft.txt" "$content/RV07/syncdata/fft.txt" || fail "the file differs from the generator's"

# refused CODE ARGS...: the command ends with CODE and exactly one line on standard error.
refused() {
  local code=$1
  shift
  "$redkite" --content "$content" spectrum "$@" >/dev/null 2>"$work/err"
  local got=$?
  [ "$got" -eq "$code" ] || fail "spectrum $*: exit $got, not $code"
  [ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "spectrum $*: not one line"; }
}
head -c 5000 /dev/urandom >"$work/noise.mp3"
refused 2 --music "$work/missing.mp3" --out "$work/a.txt"
refused 2 --music "$work/noise.mp3" --out "$work/a.txt"
refused 2 --out "$work/no/such/folder/a.txt"
[ ! -e "$work/a.txt" ] && [ ! -e "$work/a.txt.part" ] || fail "a refused run left a file"

# A content copy without the spectrum file: the fourth scene's cube field follows the spectrum.
copy=$work/content
mkdir -p "$copy/RV07"
for entry in "$content"/*; do [ "$(basename "$entry")" = RV07 ] || ln -s "$entry" "$copy/"; done
ln -s "$content/RV07/Vemir-Red Kite.mp3" "$copy/RV07/"
"$redkite" --content "$content" render --at 74.45 --size 320x240 --out "$work/with" >/dev/null 2>&1 || fail "render"
"$redkite" --content "$copy" render --at 74.45 --size 320x240 --out "$work/without" >/dev/null 2>"$work/log" ||
  fail "render without the spectrum file"
grep -q "analysed the music instead" "$work/log" || { cat "$work/log"; fail "no word of the analysis"; }
cmp -s "$work/with/0074.450.png" "$work/without/0074.450.png" || fail "the frame differs without the file"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
