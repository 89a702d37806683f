// The opening scene, its flash variant and the second scene, with the generated content loaded as
// at start-up. Built twice: on the null device (the trace backend with recording off) it measures
// the system's own CPU work per frame (budget 1 ms); with OPENING_BENCH_GL on the headless OpenGL
// backend (llvmpipe) it measures frames per second at 640 x 480 (target 60), timing batches of 30
// frames that end with one readback so the queued work is inside the time. The content folder is
// REDKITE_CONTENT_DIR, or the environment variable REDKITE_CONTENT when set.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "scenes/Renderers.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

#ifdef OPENING_BENCH_GL
#include "platform/d3d9/gl/GlBackend.h"
#endif

namespace {

constexpr int kFramesPerSync = 30;

// The show's start-up: device, manifest, the main stage and the spectrum.
class BenchShow {
public:
  static BenchShow& instance() {
    static BenchShow show;
    return show;
  }
  timeline::MainStage& stage() { return *main_; }
  bool ready() const { return static_cast<bool>(main_); }

  // Waits for every frame drawn so far (the OpenGL backend queues its work).
  void sync() {
#ifdef OPENING_BENCH_GL
    benchmark::DoNotOptimize(d3d9::gl::presentedImage(device_.get()).rgba.size());
#endif
  }

private:
  BenchShow() {
    const char* content = std::getenv("REDKITE_CONTENT");
    if (::chdir(content ? content : REDKITE_CONTENT_DIR) != 0) return;
#ifdef OPENING_BENCH_GL
    d3d9::gl::installHeadless();
#else
    d3d9::trace::install();
#endif
    d3d_ = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d_) return;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 640;
    pp.BackBufferHeight = 480;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device_.put());
    if (!device_) return;
    device_->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth_.put(), nullptr);
    device_->SetDepthStencilSurface(depth_.get());
    render::setDevice(device_.get());
    render::setDisplayAspect(4.0f / 3.0f);
    timeline::loadManifest();
    main_ = std::make_unique<timeline::MainStage>();
    timeline::spectrumTrack().load("RV07\\syncdata\\fft.txt");
  }

  d3d9::ComPtr<IDirect3D9> d3d_;
  d3d9::ComPtr<IDirect3DDevice9> device_;
  d3d9::ComPtr<IDirect3DSurface9> depth_;
  std::unique_ptr<timeline::MainStage> main_;
};

// Frames at 60 a second from `start`, wrapping after `length` seconds; each iteration draws
// kFramesPerSync frames and waits for them. Reports the time per frame and the frames per second.
template <typename Renderer>
void frames(benchmark::State& state, float start, float length, Renderer&& draw) {
  BenchShow& show = BenchShow::instance();
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return;
  }
  const int period = static_cast<int>(length * 60.0f);
  int frame = 0;
  double seconds = 0.0;
  for (auto _ : state) {
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < kFramesPerSync; ++i, ++frame)
      draw(show.stage(), start + static_cast<float>(frame % period) / 60.0f);
    show.sync();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    state.SetIterationTime(elapsed / kFramesPerSync);
    seconds += elapsed;
  }
  state.counters["fps"] = seconds > 0.0 ? static_cast<double>(frame) / seconds : 0.0;
}

void openingScene(benchmark::State& state) {
  frames(state, 0.1f, 21.3f, [](timeline::MainStage& stage, float t) { scenes::openingScene(stage, t, t); });
}
BENCHMARK(openingScene)->Unit(benchmark::kMicrosecond)->UseManualTime();

void openingFlash(benchmark::State& state) {
  frames(state, 0.1f, 21.3f,
         [](timeline::MainStage& stage, float t) { scenes::openingFlash(stage, (t - 20.54f) * 5.0f, t); });
}
BENCHMARK(openingFlash)->Unit(benchmark::kMicrosecond)->UseManualTime();

void secondScene(benchmark::State& state) {
  frames(state, 21.5f, 26.2f,
         [](timeline::MainStage& stage, float t) { scenes::secondScene(stage, t - 21.4f, t); });
}
BENCHMARK(secondScene)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
