#!/usr/bin/env bash
# Redraws docs/scenes/: three frames of every renderer, rendered headless at 640x480 by
# build/redkite and scaled down to 320x240 PNGs named <renderer>-<music time>.png. The times are
# chosen so each picture shows its scene at work (a flash, a cut, a card).
#   scripts/scene-pictures.sh [BUILD_DIR (default build)]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out=docs/scenes

# Renderer and the music times of its three pictures.
pictures=(
  "openingScene 1.5 6.0 13.0"
  "openingFlash 5.533 9.633 21.0"
  "secondScene 26.0 28.7 31.0"
  "thirdScene 48.5 52.0 60.0"
  "thirdFlash 50.3 55.6 62.2"
  "fourthScene 70.3 74.45 76.3"
  "fifthSceneA 95.0 106.0 110.0"
  "fifthSceneB 93.0 101.0 118.0"
  "sixthScene 126.5 137.0 153.0"
  "seventhScene 140.0 155.5 165.0"
  "eighthScene 180.0 186.5 205.0"
  "ninthScene 226.0 232.0 247.0"
  "creditsScene 255.0 258.0 265.9"
  "closingScene 267.0 268.35 272.0"
)

frames="$(mktemp -d)"
trap 'rm -rf "$frames"' EXIT

times=()
for entry in "${pictures[@]}"; do
  read -r -a fields <<< "$entry"
  times+=("${fields[@]:1}")
done
(IFS=,; "$build/redkite" --content "$build/content" render --size 640x480 --out "$frames" --at "${times[*]}")

mkdir -p "$out"
for entry in "${pictures[@]}"; do
  read -r -a fields <<< "$entry"
  for t in "${fields[@]:1}"; do
    frame="$frames/$(printf '%08.3f' "$t").png"
    ffmpeg -loglevel error -y -i "$frame" -vf scale=320:240:flags=area "$out/${fields[0]}-$t.png"
  done
done
echo "wrote $(( ${#times[@]} )) pictures to $out/"
