#!/usr/bin/env bash
# Builds the fuzz targets with clang (REDKITE_FUZZ=ON, in build-fuzz/ unless BUILD_DIR is set) and
# runs each for a bounded time on a working copy of its seed corpus, then prints executions per
# second and total executions per target. A crash, sanitizer report or timeout keeps its input
# under BUILD_DIR/fuzz-findings/<target>/ and makes the script fail.
#   fuzz/run-fuzzers.sh [SECONDS_PER_TARGET (default 30)] [TARGET ...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
redkite_install_packages
seconds="${1:-30}"
shift || true
build="${BUILD_DIR:-build-fuzz}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_mesh_file fuzz_camera_file fuzz_spectrum_file fuzz_effect_file fuzz_texture)
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DREDKITE_FUZZ=ON -DREDKITE_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" --target "${targets[@]}"

# Dictionaries of the formats' keywords, where one helps the mutations.
declare -A dictionary=([fuzz_effect_file]=fuzz/effect_file.dict [fuzz_texture]=fuzz/texture.dict)

status=0
summary=()
for target in "${targets[@]}"; do
  corpus="$build/fuzz-work/$target"
  findings="$build/fuzz-findings/$target"
  rm -rf "$corpus" "$findings"
  mkdir -p "$corpus" "$findings"
  cp fuzz/corpus/"$target"/* "$corpus"/
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -close_fd_mask=3
        -artifact_prefix="$findings/")
  if [ -n "${dictionary[$target]:-}" ]; then
    args+=(-dict="${dictionary[$target]}")
  fi
  log="$build/fuzz-findings/$target.log"
  echo "== $target: ${seconds} s on $(ls "$corpus" | wc -l) seed inputs"
  if ! "$build/fuzz/$target" "${args[@]}" "$corpus" > "$log" 2>&1; then
    status=1
    echo "!! $target found a fault; its input is in $findings/:"
    ls "$findings"
    grep -E "ERROR|SUMMARY|check failed|runtime error|deadly signal" "$log" | head -20 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -1 || true)
  summary+=("$(printf '%-20s %10s execs %8s execs/s  %s' "$target" "${runs:-?}" "${rate:-?}" "$coverage")")
done
printf '%s\n' "${summary[@]}"
exit "$status"
