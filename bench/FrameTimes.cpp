// The CPU time of every frame of the whole show: the show started as the program starts it, on the
// null device (the trace backend with recording off), each frame drawn by the program's own frame
// function (the schedule picks the renderer) at one music time every 1/fps second from 0 to the
// end. Writes one CSV row per frame, prints the median, 99th percentile and maximum per renderer and
// over the show, and can draw the frames into a PNG.
//   frame_times --csv FILE [--plot PNG] [--fps N] [--to SECONDS] [--size WxH]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/Frame.h"
#include "bench/BenchShow.h"
#include "bench/FramePlot.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace {

struct Arguments {
  std::string csv, plot;
  double fps = 30.0;
  double to = 0.0;  // 0: the length of the spectrum file
  bench::FrameSize size;
};

bool parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    char* end = nullptr;
    if (flag == "--csv") {
      a.csv = value;
    } else if (flag == "--plot") {
      a.plot = value;
    } else if (flag == "--fps") {
      a.fps = std::strtod(value.c_str(), &end);
      if (*end || a.fps < 1 || a.fps > 240) return false;
    } else if (flag == "--to") {
      a.to = std::strtod(value.c_str(), &end);
      if (*end || a.to <= 0) return false;
    } else if (flag == "--size") {
      if (std::sscanf(value.c_str(), "%ux%u", &a.size.width, &a.size.height) != 2) return false;
    } else {
      return false;
    }
  }
  return argc % 2 == 1 && !a.csv.empty();
}

// The value below which `fraction` of the sorted samples lie (nearest rank), as renderer_bench.
double percentile(const std::vector<double>& sorted, double fraction) {
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(rank, sorted.size() - 1)];
}

void printSummary(const char* name, std::vector<double> cpuUs) {
  if (cpuUs.empty()) return;
  std::sort(cpuUs.begin(), cpuUs.end());
  std::printf("%-13s frames %5zu  p50_us %8.1f  p99_us %8.1f  max_us %8.1f\n", name, cpuUs.size(),
              percentile(cpuUs, 0.5), percentile(cpuUs, 0.99), cpuUs.back());
}

const char* nameOf(int renderer) {
  return renderer < 0 ? "default" : timeline::rendererName(static_cast<timeline::Renderer>(renderer));
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!parse(argc, argv, args)) {
    std::fprintf(stderr, "usage: frame_times --csv FILE [--plot PNG] [--fps N] [--to SECONDS] [--size WxH]\n");
    return 2;
  }
  // Paths are taken before the show changes into the content folder.
  const std::string csvPath = std::filesystem::absolute(args.csv).string();
  const std::string plotPath = args.plot.empty() ? std::string() : std::filesystem::absolute(args.plot).string();

  bench::BenchShow& show = bench::BenchShow::instance(bench::Backend::Null, args.size);
  if (!show.ready()) {
    std::fprintf(stderr, "frame_times: the show did not start (no content or device)\n");
    return 1;
  }
  const timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  const double end = args.to > 0 ? args.to : spectrum.recordCount() / 30.0;
  const auto count = static_cast<long>(end * args.fps) + 1;

  std::vector<bench::FrameTime> frames;
  frames.reserve(static_cast<std::size_t>(count));
  for (long k = 0; k < count; ++k) {
    bench::FrameTime f;
    f.music = static_cast<double>(k) / args.fps;
    if (auto call = timeline::scheduleFor(f.music, spectrum)) f.renderer = static_cast<int>(call->renderer);
    const auto wallBefore = std::chrono::steady_clock::now();
    const double cpuBefore = bench::threadCpuSeconds();
    app::drawFrame(show.device(), f.music, show.organ(), show.main());
    f.cpuUs = (bench::threadCpuSeconds() - cpuBefore) * 1e6;
    f.wallUs = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - wallBefore).count();
    frames.push_back(f);
  }

  std::ofstream csv(csvPath);
  csv << "music_s,renderer,cpu_us,wall_us\n";
  char row[128];
  for (const bench::FrameTime& f : frames) {
    std::snprintf(row, sizeof row, "%.4f,%s,%.2f,%.2f\n", f.music, nameOf(f.renderer), f.cpuUs, f.wallUs);
    csv << row;
  }
  csv.close();
  if (!csv) {
    std::fprintf(stderr, "frame_times: cannot write %s\n", csvPath.c_str());
    return 1;
  }

  std::vector<double> all;
  std::map<int, std::vector<double>> byRenderer;
  for (const bench::FrameTime& f : frames) {
    all.push_back(f.cpuUs);
    byRenderer[f.renderer].push_back(f.cpuUs);
  }
  std::printf("whole show: %zu frames, 0 to %.3f s, %.0f a second, CPU time per frame on the null device\n",
              frames.size(), end, args.fps);
  printSummary("all", all);
  for (auto& [renderer, times] : byRenderer) printSummary(nameOf(renderer), times);

  if (!plotPath.empty()) {
    std::sort(all.begin(), all.end());
    char caption[200];
    std::snprintf(caption, sizeof caption,
                  "Whole show, one frame every 1/%.0f s: median %.3f ms, 99th percentile %.3f ms, max %.3f ms",
                  args.fps, percentile(all, 0.5) * 1e-3, percentile(all, 0.99) * 1e-3, all.back() * 1e-3);
    if (!bench::writeFrameTimePlot(frames, caption, plotPath)) {
      std::fprintf(stderr, "frame_times: cannot draw %s\n", plotPath.c_str());
      return 1;
    }
  }
  return 0;
}
