// Every one of the fourteen renderers drawing frames at music times of its own slot, with the show
// started as the program starts it (BenchShow).
// - Null device (default): the trace backend with recording off, so the time is the system's own CPU
//   work per frame. Each renderer walks its slot once at 60 frames a second, as the show would;
//   counters p50_us, p99_us and max_us are per-frame thread CPU times (budget: median under 1 ms).
// - REDKITE_BENCH_GL=1: headless OpenGL (llvmpipe) at REDKITE_BENCH_SIZE (default 640x480). Frames
//   spread over the slot are drawn in batches of 30 that end in one readback, so the queued work is
//   inside the time; the time is per frame and the counter fps is frames over seconds. The baseline
//   frame is the least a frame can draw (clear, one full-screen textured pass, Present) on the same
//   device: "baseline" measures it alone, and each renderer's benchmark times a batch of it before
//   each batch of its own (counters baseline_fps and ratio = fps / baseline_fps), so the ratio holds
//   on a machine whose load changes during the run.
// - REDKITE_BENCH_PROFILE=all (or a comma-separated list of renderer names), with REDKITE_BENCH_GL=1:
//   no benchmarks; each renderer draws 30 frames spread over its slot with the device waited on at
//   every call, and the milliseconds a frame of each draw, clear, copy and Present are printed,
//   largest first (DrawProfile).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchShow.h"
#include "bench/DrawProfile.h"
#include "bench/FullScreenPass.h"
#include "scenes/Renderers.h"

namespace {

using bench::Backend;
using bench::BenchShow;

constexpr int kFramesPerSync = 30;
constexpr int kGlBatches = 4;  // frames drawn per renderer on OpenGL: kGlBatches × kFramesPerSync

// A renderer, the music times it is drawn at (from `start`, `length` seconds, wrapping) and how it
// is called for a music time t: the scene time and arguments the schedule would give in its slot.
struct RendererCase {
  const char* name;
  float start;
  float length;
  void (*draw)(BenchShow& show, float t);
};

constexpr RendererCase kRenderers[] = {
    {"openingScene", 0.1f, 21.3f, [](BenchShow& s, float t) { scenes::openingScene(s.main(), t, t); }},
    {"openingFlash", 0.1f, 21.3f,
     [](BenchShow& s, float t) { scenes::openingFlash(s.main(), (t - 20.54f) * 5.0f, t); }},
    {"secondScene", 21.5f, 26.2f, [](BenchShow& s, float t) { scenes::secondScene(s.main(), t - 21.4f, t); }},
    {"thirdScene", 47.75f, 21.6f, [](BenchShow& s, float t) { scenes::thirdScene(s.organ(), t - 47.7f, t); }},
    // Every beat in turn: beat n and its flash value falling from 1 to 0.
    {"thirdFlash", 0.0f, 14.0f,
     [](BenchShow& s, float t) {
       const int n = 1 + static_cast<int>(t);
       const float c = 1.0f - (t - static_cast<float>(n - 1));
       scenes::thirdFlash(s.main(), 1.0f, 48.6f + 1.3f * static_cast<float>(n), n, c);
     }},
    {"fourthScene", 69.45f, 21.5f, [](BenchShow& s, float t) { scenes::fourthScene(s.organ(), t - 69.4f, t); }},
    // The fifth slot's two views, each drawn on its own over the whole slot with variant 0.
    {"fifthSceneA", 91.1f, 28.6f, [](BenchShow& s, float t) { scenes::fifthSceneA(s.main(), t - 91.0f, t, 0); }},
    {"fifthSceneB", 91.1f, 28.6f, [](BenchShow& s, float t) { scenes::fifthSceneB(s.main(), t - 91.0f, t, 0); }},
    {"sixthScene", 119.9f, 34.7f,
     [](BenchShow& s, float t) { scenes::sixthScene(s.main(), (t - 119.8f) * 0.333f, t); }},
    {"seventhScene", 119.9f, 56.0f, [](BenchShow& s, float t) { scenes::seventhScene(s.main(), t - 119.8f, t); }},
    {"eighthScene", 176.1f, 43.8f, [](BenchShow& s, float t) { scenes::eighthScene(s.main(), t - 176.0f, t); }},
    {"ninthScene", 220.1f, 33.3f, [](BenchShow& s, float t) { scenes::ninthScene(s.main(), t - 220.0f, t); }},
    {"creditsScene", 253.5f, 12.8f, [](BenchShow& s, float t) { scenes::creditsScene(s.main(), t - 253.45f, t); }},
    {"closingScene", 266.4f, 14.2f, [](BenchShow& s, float t) { scenes::closingScene(s.main(), t - 266.35f, t); }},
};

// The show on the device the environment picks; null when it cannot start.
BenchShow* startedShow(benchmark::State& state) {
  const std::optional<bench::FrameSize> size = bench::sizeFromEnvironment();
  if (!size) {
    state.SkipWithError("REDKITE_BENCH_SIZE: expected WIDTHxHEIGHT, e.g. 1280x720");
    return nullptr;
  }
  BenchShow& show = BenchShow::instance(bench::backendFromEnvironment(), *size);
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return nullptr;
  }
  return &show;
}

// The value below which `fraction` of the sorted samples lie (nearest rank).
double percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0.0;
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(rank, sorted.size() - 1)];
}

// Null device: one frame per iteration, every frame of the slot at 60 a second in show order.
void nullFrames(benchmark::State& state, BenchShow& show, const RendererCase& renderer) {
  const int period = static_cast<int>(renderer.length * 60.0f);
  renderer.draw(show, renderer.start);  // first use of the renderer's resources, outside the times
  std::vector<double> cpu;
  cpu.reserve(static_cast<std::size_t>(state.max_iterations));
  int frame = 0;
  for (auto _ : state) {
    const float t = renderer.start + static_cast<float>(frame % period) / 60.0f;
    const double before = bench::threadCpuSeconds();
    renderer.draw(show, t);
    cpu.push_back(bench::threadCpuSeconds() - before);
    ++frame;
  }
  std::sort(cpu.begin(), cpu.end());
  state.counters["p50_us"] = percentile(cpu, 0.50) * 1e6;
  state.counters["p99_us"] = percentile(cpu, 0.99) * 1e6;
  state.counters["max_us"] = cpu.empty() ? 0.0 : cpu.back() * 1e6;
}

// OpenGL: kFramesPerSync frames and one readback, which waits for them; returns the seconds taken.
template <typename Frame>
double timedBatch(BenchShow& show, int& drawn, Frame&& frame) {
  const auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < kFramesPerSync; ++i, ++drawn) frame(drawn);
  benchmark::DoNotOptimize(show.sync());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
}

// The baseline frame on the renderers' own device and back buffer: clear, one full-screen textured
// pass, Present. A batch of them puts back the render target and the render states it changes, so
// a renderer's frames after it start from the device as the renderer left it.
class BaselineFrames {
public:
  explicit BaselineFrames(IDirect3DDevice9* device) : device_(device), pass_(device) {}
  bool ready() const { return pass_.ready(); }

  double timedBatch(BenchShow& show) {
    d3d9::ComPtr<IDirect3DSurface9> target;
    device_->GetRenderTarget(0, target.put());
    DWORD saved[std::size(kStates)] = {};
    for (std::size_t i = 0; i < std::size(kStates); ++i) device_->GetRenderState(kStates[i], &saved[i]);
    device_->SetRenderTarget(0, app::deviceState().backBuffer.get());
    device_->SetRenderState(D3DRS_ZENABLE, FALSE);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    const double seconds = ::timedBatch(show, drawn_, [this](int) {
      device_->BeginScene();
      device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
      pass_.draw();
      device_->EndScene();
      device_->Present(nullptr, nullptr, nullptr, nullptr);
    });
    for (std::size_t i = 0; i < std::size(kStates); ++i) device_->SetRenderState(kStates[i], saved[i]);
    if (target) device_->SetRenderTarget(0, target.get());
    return seconds;
  }

private:
  static constexpr D3DRENDERSTATETYPE kStates[] = {D3DRS_ZENABLE, D3DRS_ALPHABLENDENABLE, D3DRS_CULLMODE};
  IDirect3DDevice9* device_;
  bench::FullScreenPass pass_;
  int drawn_ = 0;
};

// OpenGL: each iteration times a batch of baseline frames, then a batch of the renderer's frames,
// so both see the machine as loaded as the other (this machine is shared). The iteration time is
// the renderer's time per frame; counters: fps, baseline_fps and their ratio.
void glFrames(benchmark::State& state, BenchShow& show, const RendererCase& renderer) {
  BaselineFrames baseline(show.device());
  if (!baseline.ready()) {
    state.SkipWithError("the baseline pass did not compile");
    return;
  }
  // kGlBatches × kFramesPerSync frames spread evenly over the slot.
  const int period = static_cast<int>(renderer.length * 60.0f);
  const int stride = std::max(1, period / (kGlBatches * kFramesPerSync));
  auto frame = [&](int k) { renderer.draw(show, renderer.start + static_cast<float>((k * stride) % period) / 60.0f); };
  int warmUp = 0;
  timedBatch(show, warmUp, frame);  // first use of shaders and textures, untimed
  baseline.timedBatch(show);
  int drawn = 0;
  double seconds = 0.0, baselineSeconds = 0.0;
  for (auto _ : state) {
    baselineSeconds += baseline.timedBatch(show);
    const double elapsed = timedBatch(show, drawn, frame);
    state.SetIterationTime(elapsed / kFramesPerSync);
    seconds += elapsed;
  }
  const double fps = seconds > 0.0 ? drawn / seconds : 0.0;
  const double baselineFps = baselineSeconds > 0.0 ? drawn / baselineSeconds : 0.0;
  state.counters["fps"] = fps;
  state.counters["baseline_fps"] = baselineFps;
  state.counters["ratio"] = baselineFps > 0.0 ? fps / baselineFps : 0.0;
}

void rendererFrames(benchmark::State& state, const RendererCase* renderer) {
  BenchShow* show = startedShow(state);
  if (!show) return;
  if (show->backend() == Backend::Null) {
    nullFrames(state, *show, *renderer);
  } else {
    glFrames(state, *show, *renderer);
  }
}

// The baseline frames on their own: clear, one full-screen textured pass and Present.
void baseline(benchmark::State& state) {
  BenchShow* show = startedShow(state);
  if (!show) return;
  BaselineFrames frames(show->device());
  if (!frames.ready()) {
    state.SkipWithError("the baseline pass did not compile");
    return;
  }
  frames.timedBatch(*show);
  double seconds = 0.0;
  for (auto _ : state) {
    const double elapsed = frames.timedBatch(*show);
    state.SetIterationTime(elapsed / kFramesPerSync);
    seconds += elapsed;
  }
  state.counters["fps"] = seconds > 0.0 ? static_cast<double>(state.iterations()) * kFramesPerSync / seconds : 0.0;
}

// Whether `name` is in the comma-separated `list` ("all" names every renderer).
bool listed(std::string_view list, std::string_view name) {
  if (list == "all") return true;
  for (std::size_t begin = 0; begin <= list.size();) {
    std::size_t end = std::min(list.find(',', begin), list.size());
    if (list.substr(begin, end - begin) == name) return true;
    begin = end + 1;
  }
  return false;
}

// The per-call table of every listed renderer; returns the process's exit code.
int profileRenderers(std::string_view list) {
  BenchShow& show = BenchShow::instance(Backend::Gl, bench::sizeFromEnvironment().value_or(bench::FrameSize{}));
  if (!show.ready()) {
    std::fprintf(stderr, "renderer_bench: no content or device\n");
    return 1;
  }
  constexpr int kFrames = 30;
  for (const RendererCase& renderer : kRenderers) {
    if (!listed(list, renderer.name)) continue;
    const float step = renderer.length / kFrames;
    for (int i = 0; i < kFrames; i += 10) renderer.draw(show, renderer.start + step * static_cast<float>(i));
    show.sync();  // shaders, textures and buffers in use before the first timed call
    bench::DrawProfile profile(show.device());
    for (int i = 0; i < kFrames; ++i) renderer.draw(show, renderer.start + step * static_cast<float>(i));
    profile.close();
    profile.print(stdout, renderer.name, kFrames);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* list = std::getenv("REDKITE_BENCH_PROFILE"); list && *list) {
    if (bench::backendFromEnvironment() != Backend::Gl) {
      std::fprintf(stderr, "renderer_bench: REDKITE_BENCH_PROFILE needs REDKITE_BENCH_GL=1\n");
      return 2;
    }
    return profileRenderers(list);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const Backend backend = bench::backendFromEnvironment();
  const bench::FrameSize size = bench::sizeFromEnvironment().value_or(bench::FrameSize{});
  const std::string frame = std::to_string(size.width) + "x" + std::to_string(size.height);
  benchmark::AddCustomContext("redkite_device", backend == Backend::Gl ? "headless OpenGL " + frame
                                                                       : "null (trace, recording off) " + frame);
  if (backend == Backend::Gl) {
    benchmark::RegisterBenchmark("baseline", baseline)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(kGlBatches);
  }
  for (const RendererCase& renderer : kRenderers) {
    auto* b = benchmark::RegisterBenchmark(renderer.name, rendererFrames, &renderer);
    if (backend == Backend::Gl) {
      b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kGlBatches);
    } else {
      b->Unit(benchmark::kMicrosecond)->Iterations(static_cast<int>(renderer.length * 60.0f));
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
