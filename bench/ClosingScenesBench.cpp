// The eighth and ninth scenes, the credits and the closing scene, with the generated content
// loaded as at start-up: the CPU work per frame on the null device (the trace backend with recording
// off; budget 1 ms), and with REDKITE_BENCH_GL=1 whole frames at 640 x 480 on the headless OpenGL
// backend (llvmpipe; each Present reads the frame back, so a frame is finished when it returns).
// The content folder is REDKITE_CONTENT_DIR, or the environment variable REDKITE_CONTENT when set.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "scenes/Renderers.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

namespace {

// The show's start-up on the chosen device: device, manifest, the main stage and the spectrum.
class BenchShow {
 public:
  static BenchShow& instance() {
    static BenchShow show;
    return show;
  }
  timeline::MainStage& stage() { return *main_; }
  bool ready() const { return static_cast<bool>(device_); }

 private:
  BenchShow() {
    const char* content = std::getenv("REDKITE_CONTENT");
    if (::chdir(content ? content : REDKITE_CONTENT_DIR) != 0) return;
    const char* gl = std::getenv("REDKITE_BENCH_GL");
    if (gl && *gl == '1') {
      d3d9::gl::installHeadless();
    } else {
      d3d9::trace::install();
    }
    d3d_ = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d_) return;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 640;
    pp.BackBufferHeight = 480;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
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

// Frames at 60 a second from `start`, wrapping inside the slot; the scene time is t - `zero`.
template <typename Renderer>
void frames(benchmark::State& state, float start, float length, float zero, Renderer draw) {
  BenchShow& show = BenchShow::instance();
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    const float t = start + static_cast<float>(frame % static_cast<int>(length * 60)) / 60.0f;
    draw(show.stage(), t - zero, t);
    ++frame;
  }
}

void eighthScene(benchmark::State& state) { frames(state, 176.1f, 43.8f, 176.0f, scenes::eighthScene); }
BENCHMARK(eighthScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

void ninthScene(benchmark::State& state) { frames(state, 220.1f, 33.3f, 220.0f, scenes::ninthScene); }
BENCHMARK(ninthScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

void creditsScene(benchmark::State& state) { frames(state, 253.5f, 12.8f, 253.45f, scenes::creditsScene); }
BENCHMARK(creditsScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

void closingScene(benchmark::State& state) { frames(state, 266.4f, 14.2f, 266.35f, scenes::closingScene); }
BENCHMARK(closingScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
