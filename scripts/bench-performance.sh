#!/usr/bin/env bash
# Measures the show against its performance budgets from a built build folder and prints a markdown
# table: each renderer's CPU work per frame on the null device (renderer_bench), its frames per
# second on headless OpenGL at 640x480 and 1280x720 with the ratio to a baseline full-screen pass
# measured in the same run, start-up time to the first presented frame, peak resident memory, and
# the CPU time of every frame over the whole show (CSV and a plot), the shading floor (the frames on
# OpenGL at 640x480 with every fragment shader writing a constant colour: what the draws cost
# without their per-pixel work), the throughput of `capture` and the per-call device time of every
# renderer (build/perf/draw-profile.txt).
#   scripts/bench-performance.sh [BUILD_DIR]          (default build)
# Environment: REPETITIONS (renderer_bench repetitions, default 3), STARTUP_RUNS (default 5),
#   PLOT (default docs/performance-frame-times.png), RESULTS (folder for the raw results, default
#   BUILD_DIR/perf), SKIP_GL=1 (no OpenGL benchmarks, no shading floor, no capture), REPORT_ONLY=1
#   (measure nothing; print the
#   table again from the results of the last run in RESULTS).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)
repetitions=${REPETITIONS:-3}
startup_runs=${STARTUP_RUNS:-5}
plot=${PLOT:-$root/docs/performance-frame-times.png}
results=${RESULTS:-$build/perf}
redkite=$build/redkite
renderer_bench=$build/bench/renderer_bench
frame_times=$build/bench/frame_times
content=$build/content
music="$content/RV07/Vemir-Red Kite.mp3"

for file in "$redkite" "$renderer_bench" "$frame_times"; do
  [ -x "$file" ] || { echo "bench-performance: $file is missing; build the folder first" >&2; exit 1; }
done
[ -f "$music" ] || { echo "bench-performance: no generated content in $content" >&2; exit 1; }
command -v python3 >/dev/null || { echo "bench-performance: python3 is needed" >&2; exit 1; }
mkdir -p "$results"
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
say() { echo "bench-performance: $*" >&2; }
# Notes the load average (other people's work on a shared machine) around each step.
load_before() { load_start=$(cut -d' ' -f1-3 /proc/loadavg); }
load_after() { echo "$1: $load_start → $(cut -d' ' -f1-3 /proc/loadavg)" >> "$results/load.txt"; }

# The table, from the results folder and the figures measured outside the benchmarks.
report() {
python3 - "$results" "$window_startup" "$headless_startup" "$trace_peak_kb" "$render_peak_kb" "$capture_fps" \
  "$capture_peak_kb" "${gl_sizes[@]}" <<'PY'
import csv, json, os, statistics, sys

results, window_startup, headless_startup, trace_kb, render_kb, capture_fps, capture_kb = sys.argv[1:8]
gl_sizes = sys.argv[8:]

def runs(path):
    """Per benchmark name, the repetitions' iteration rows."""
    by_name = {}
    for b in json.load(open(path))["benchmarks"]:
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            # "seventhScene/iterations:3360/manual_time" -> "seventhScene"
            by_name.setdefault(b["run_name"].split("/")[0], []).append(b)
    return by_name

def median_of(rows, key):
    return statistics.median(r[key] for r in rows)

null = runs(f"{results}/renderer-null.json")
gl = {size: runs(f"{results}/renderer-gl-{size}.json") for size in gl_sizes}
floor_path = f"{results}/renderer-floor-640x480.json"
floor = runs(floor_path) if gl_sizes and os.path.exists(floor_path) else {}
frames = {}
for r in csv.DictReader(open(f"{results}/frame-times.csv")):
    frames.setdefault(r["renderer"], []).append(float(r["cpu_us"]))

def pct(values, fraction):
    v = sorted(values)
    return v[min(len(v) - 1, int(fraction * (len(v) - 1) + 0.5))] if v else float("nan")

def mark(ok):
    return "" if ok else " ✗"

header = "| Renderer | CPU/frame median (µs) | CPU/frame p99 (µs) | whole show p99 (µs) |"
rule = "|---|---:|---:|---:|"
for size in gl_sizes:
    header += f" fps {size} | × baseline {size} |"
    rule += "---:|---:|"
if floor:
    header += " fps 640x480, constant fragments |"
    rule += "---:|"
print(header)
print(rule)
for name, rows in null.items():
    p50, p99 = median_of(rows, "p50_us"), median_of(rows, "p99_us")
    show = pct(frames.get(name, []), 0.99)
    line = f"| {name} | {p50:.0f}{mark(p50 < 1000)} | {p99:.0f} | {show:.0f}{mark(not show > 2000)} |"
    for size in gl_sizes:
        if name in gl[size]:
            # The ratio to the baseline frames timed between the renderer's own batches.
            fps, ratio = median_of(gl[size][name], "fps"), median_of(gl[size][name], "ratio")
            line += f" {fps:.1f}{mark(fps >= 60 or size != '640x480')} | {ratio:.3f} |"
        else:
            line += " – | – |"
    if floor:
        line += f" {median_of(floor[name], 'fps'):.1f} |" if name in floor else " – |"
    print(line)
if gl_sizes:
    line = "| baseline frame alone (clear, full-screen pass, Present) | – | – | – |"
    for size in gl_sizes:
        line += f" {median_of(gl[size]['baseline'], 'fps'):.1f} | 1 |" if "baseline" in gl[size] else " – | – |"
    if floor:
        line += " – |"
    print(line)

every = [v for values in frames.values() for v in values]
print()
print("| Whole show and start-up | Value | Budget |")
print("|---|---:|---|")
print(f"| CPU per frame, whole show, one frame every 1/30 s ({len(every)} frames): median | {pct(every, 0.5):.0f} µs | < 1000 µs |")
print(f"| CPU per frame, whole show: 99th percentile | {pct(every, 0.99):.0f} µs{mark(pct(every, 0.99) < 2000)} | < 2000 µs |")
print(f"| CPU per frame, whole show: maximum | {max(every):.0f} µs | – |")
if window_startup:
    print(f"| Start-up, launch to first presented frame (window on Xvfb, 800x600, median) | {float(window_startup):.2f} s{mark(float(window_startup) < 2)} | < 2 s |")
print(f"| Start-up, `render --at 0.1 --size 640x480`, launch to exit (median) | {float(headless_startup):.2f} s{mark(float(headless_startup) < 2)} | < 2 s |")
trace_mb, render_mb = int(trace_kb) * 1024 / 1e6, int(render_kb) * 1024 / 1e6
print(f"| Peak resident memory, whole-show `trace` (null device) | {trace_mb:.0f} MB{mark(trace_mb < 300)} | < 300 MB |")
print(f"| Peak resident memory, `render` of every renderer at 1280x720 (OpenGL) | {render_mb:.0f} MB{mark(render_mb < 300)} | < 300 MB |")
if capture_fps:
    capture_mb = int(capture_kb) * 1024 / 1e6
    print(f"| `capture` of 121–131 s at 640x480, 30 fps (sixth and seventh scenes, H.264 by ffmpeg): frames a second | {float(capture_fps):.1f} | – |")
    print(f"| Peak resident memory of that `capture` (the program; ffmpeg apart) | {capture_mb:.0f} MB{mark(capture_mb < 300)} | < 300 MB |")
lookup_path = f"{results}/lookup.json"
if os.path.exists(lookup_path):
    print()
    print("| Look-up by name (null device, median of the repetitions) | ns per call |")
    print("|---|---:|")
    rows = {}
    for b in json.load(open(lookup_path))["benchmarks"]:
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            rows.setdefault(b["run_name"], []).append(b["cpu_time"])
    for name, times in rows.items():
        print(f"| `{name}` | {statistics.median(times):.0f} |")
print()
print("Load average (1, 5, 15 min) before and after each step (" + str(len(open("/proc/cpuinfo").read().split("processor\t:")) - 1) + " CPUs):")
print()
for line in open(f"{results}/load.txt"):
    print(f"- {line.strip()}")
PY
}

if [ "${REPORT_ONLY:-0}" = 1 ]; then
  # shellcheck source=/dev/null
  source "$results/measures.sh"
  report
  exit 0
fi

# The show ends where the music does, less the program's 0.03 s end margin.
end=$(command -v ffprobe >/dev/null && ffprobe -v error -show_entries format=duration -of csv=p=0 "$music" 2>/dev/null | \
      python3 -c 'import sys; print(f"{float(sys.stdin.read()) - 0.03:.3f}")' 2>/dev/null || true)
[ -n "$end" ] || { say "ffprobe could not read the music's length; using the spectrum file's"; }

# 1. CPU work per frame of every renderer on the null device.
: > "$results/load.txt"
load_before
say "renderer_bench on the null device, $repetitions repetitions"
env -u REDKITE_BENCH_GL -u REDKITE_BENCH_SIZE "$renderer_bench" --benchmark_repetitions="$repetitions" \
  --benchmark_out="$results/renderer-null.json" --benchmark_out_format=json >&2
load_after "renderer_bench, null device"
if [ -x "$build/bench/lookup_bench" ]; then
  say "lookup_bench: registries by key, effect parameters by name"
  "$build/bench/lookup_bench" --benchmark_repetitions="$repetitions" --benchmark_out="$results/lookup.json" \
    --benchmark_out_format=json >&2
fi

# 2. Frames on headless OpenGL, with the baseline, at two sizes.
gl_sizes=()
if [ "${SKIP_GL:-0}" != 1 ]; then
  for size in 640x480 1280x720; do
    say "renderer_bench on headless OpenGL at $size, $repetitions repetitions"
    load_before
    REDKITE_BENCH_GL=1 REDKITE_BENCH_SIZE=$size "$renderer_bench" --benchmark_repetitions="$repetitions" \
      --benchmark_out="$results/renderer-gl-$size.json" --benchmark_out_format=json >&2
    load_after "renderer_bench, OpenGL $size"
    gl_sizes+=("$size")
  done

  # The shading floor: the same frames with every fragment shader writing a constant colour, from
  # a copy of the content whose effect files are rewritten so (everything else linked). What the
  # frames cost above it is the per-pixel work of the effects.
  say "renderer_bench on headless OpenGL at 640x480 with constant fragment shaders"
  floor_content=$work/floor-content
  mkdir -p "$floor_content/quarvdemo/shaders"
  for entry in "$content"/*; do [ "$(basename "$entry")" = quarvdemo ] || ln -s "$entry" "$floor_content/"; done
  for entry in "$content"/quarvdemo/*; do
    [ "$(basename "$entry")" = shaders ] || ln -s "$entry" "$floor_content/quarvdemo/"
  done
  python3 - "$content/quarvdemo/shaders" "$floor_content/quarvdemo/shaders" <<'PY'
import os, re, sys
source, target = sys.argv[1:3]
for name in os.listdir(source):
    parts = re.split(r"(?m)^(--- .*)$", open(os.path.join(source, name)).read())
    for i in range(1, len(parts), 2):
        if parts[i].startswith("--- fragment"):
            parts[i + 1] = "\nout vec4 colour;\nvoid main() { colour = vec4(0.5); }\n"
    open(os.path.join(target, name), "w").write("".join(parts))
PY
  load_before
  REDKITE_CONTENT=$floor_content REDKITE_BENCH_GL=1 REDKITE_BENCH_SIZE=640x480 "$renderer_bench" \
    --benchmark_filter='Scene|Flash' --benchmark_out="$results/renderer-floor-640x480.json" \
    --benchmark_out_format=json >&2
  load_after "renderer_bench, OpenGL 640x480, constant fragment shaders"
fi

# 3. CPU time of every frame of the whole show, one every 1/30 s, and its plot.
say "frame_times over the whole show"
load_before
"$frame_times" --csv "$results/frame-times.csv" --plot "$plot" --fps 30 ${end:+--to "$end"} \
  > "$results/frame-times.txt"
load_after "frame_times, whole show"
cat "$results/frame-times.txt" >&2

# 4. Start-up: launch to the first presented frame.
# a) The show itself in a window on a virtual display, no dialog: a preloaded library stamps the
#    first SDL_GL_SwapWindow (the first Present; frames at music time 0 are the default frame, which
#    presents nothing) and ends the process there.
# b) Headless: `redkite render` of one frame at 640x480, launch to exit (PNG written).
now_ns() { date +%s%N; }
median() { python3 -c 'import sys, statistics; v = [float(x) for x in sys.argv[1:]]; print(f"{statistics.median(v):.3f}" if v else "")' "$@"; }
load_before
window_startups=()
if command -v Xvfb >/dev/null && command -v cc >/dev/null; then
  cat > "$work/first_present.c" <<'C'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>
typedef struct SDL_Window SDL_Window;
void SDL_GL_SwapWindow(SDL_Window* window) {
  void (*swap)(SDL_Window*) = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  swap(window);
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  fprintf(stderr, "first-present-ns %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
  fflush(stderr);
  _exit(0);
}
C
  cc -shared -fPIC -O2 -o "$work/first_present.so" "$work/first_present.c" -ldl
  display=":$((300 + $$ % 500))"
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
  done
  for run in $(seq "$startup_runs"); do
    start=$(now_ns)
    DISPLAY=$display LD_PRELOAD="$work/first_present.so" timeout 60 "$redkite" --content "$content" --size 800x600 \
      > /dev/null 2> "$work/show-$run.log" || true
    stamp=$(sed -n 's/^first-present-ns //p' "$work/show-$run.log" | head -1)
    if [ -n "$stamp" ]; then
      window_startups+=("$(python3 -c "print(($stamp - $start) / 1e9)")")
    else
      say "windowed start-up run $run presented nothing:"; cat "$work/show-$run.log" >&2
    fi
  done
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
else
  say "no Xvfb or C compiler: the windowed start-up is not measured"
fi
headless_startups=()
for run in $(seq "$startup_runs"); do
  start=$(now_ns)
  "$redkite" --content "$content" render --at 0.1 --size 640x480 --out "$work/startup" > /dev/null
  headless_startups+=("$(python3 -c "print(($(now_ns) - $start) / 1e9)")")
done
load_after "start-up runs"
window_startup=$(median "${window_startups[@]}")
headless_startup=$(median "${headless_startups[@]}")

# 5. Peak resident memory: a trace of the whole show, one frame every 1/30 s (the null device), and
#    one frame of every renderer rendered on headless OpenGL at 1280x720.
peak_kb() { sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$1"; }
times=$(python3 - "$results/frame-times.csv" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1])))
print(",".join(f"{float(r['music_s']):.4f}" for r in rows))
PY
)
say "whole-show trace for peak memory"
/usr/bin/time -v "$redkite" --content "$content" trace --at "$times" --out /dev/null 2> "$work/trace-time.txt"
trace_peak_kb=$(peak_kb "$work/trace-time.txt")
render_times=$(python3 - "$results/frame-times.csv" <<'PY'
import csv, sys
frames = {}
for r in csv.DictReader(open(sys.argv[1])):
    frames.setdefault(r["renderer"], []).append(float(r["music_s"]))
print(",".join(f"{t[len(t) // 2]:.4f}" for name, t in frames.items() if name != "default"))
PY
)
say "one frame of every renderer on headless OpenGL at 1280x720 for peak memory"
/usr/bin/time -v "$redkite" --content "$content" render --at "$render_times" --size 1280x720 \
  --out "$work/render" > /dev/null 2> "$work/render-time.txt"
render_peak_kb=$(peak_kb "$work/render-time.txt")

# 6. Capture: ten seconds of the busiest slots to H.264, frames a second as its progress line
#    reports them at the end, and the program's peak memory.
capture_fps=
capture_peak_kb=
if [ "${SKIP_GL:-0}" != 1 ] && command -v ffmpeg >/dev/null; then
  say "capture of 121-131 s at 640x480, 30 fps"
  load_before
  /usr/bin/time -v "$redkite" --content "$content" capture --from 121 --to 131 --size 640x480 --fps 30 \
    --out "$work/capture.mp4" > /dev/null 2> "$work/capture-time.txt"
  load_after "capture, 640x480"
  capture_fps=$(tr '\r' '\n' < "$work/capture-time.txt" | sed -n 's/.* frames, \([0-9.]*\) fps.*/\1/p' | tail -1)
  capture_peak_kb=$(peak_kb "$work/capture-time.txt")
fi

# 7. Where each renderer's device time goes: the per-call table of renderer_bench (the device waited
#    on at every draw, clear, copy and Present), largest first, at 640x480.
if [ "${SKIP_GL:-0}" != 1 ]; then
  say "per-call device time of every renderer at 640x480 (build/perf/draw-profile.txt)"
  REDKITE_BENCH_GL=1 REDKITE_BENCH_SIZE=640x480 REDKITE_BENCH_PROFILE=all "$renderer_bench" \
    > "$results/draw-profile.txt"
fi

cat > "$results/measures.sh" <<EOF
window_startup=$window_startup
headless_startup=$headless_startup
trace_peak_kb=$trace_peak_kb
render_peak_kb=$render_peak_kb
capture_fps=$capture_fps
capture_peak_kb=$capture_peak_kb
gl_sizes=(${gl_sizes[*]})
EOF

# 8. The table.
report
