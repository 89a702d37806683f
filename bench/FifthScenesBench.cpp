// The fifth scene and its alternate view, the sixth and the seventh scenes, with the generated content
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

// The show's start-up on the null device: device, manifest, the main stage and the spectrum.
class NullShow {
public:
  static NullShow& instance() {
    static NullShow show;
    return show;
  }
  timeline::MainStage& stage() { return *main_; }
  bool ready() const { return static_cast<bool>(device_); }

private:
  NullShow() {
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

// Frames at 60 a second from `start`, wrapping inside the slot.
template <typename Renderer>
void frames(benchmark::State& state, float start, float length, Renderer&& draw) {
  NullShow& show = NullShow::instance();
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    const float t = start + static_cast<float>(frame % static_cast<int>(length * 60)) / 60.0f;
    draw(show.stage(), t);
    ++frame;
  }
}

// The fifth slot's two views, each drawn on its own over the whole slot with variant 0.
void fifthSceneA(benchmark::State& state) {
  frames(state, 91.1f, 28.6f,
         [](timeline::MainStage& stage, float t) { scenes::fifthSceneA(stage, t - 91.0f, t, 0); });
}
BENCHMARK(fifthSceneA)->Unit(benchmark::kMicrosecond)->UseRealTime();

void fifthSceneB(benchmark::State& state) {
  frames(state, 91.1f, 28.6f,
         [](timeline::MainStage& stage, float t) { scenes::fifthSceneB(stage, t - 91.0f, t, 0); });
}
BENCHMARK(fifthSceneB)->Unit(benchmark::kMicrosecond)->UseRealTime();

void sixthScene(benchmark::State& state) {
  frames(state, 119.9f, 34.7f,
         [](timeline::MainStage& stage, float t) { scenes::sixthScene(stage, (t - 119.8f) * 0.333f, t); });
}
BENCHMARK(sixthScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

void seventhScene(benchmark::State& state) {
  frames(state, 119.9f, 56.0f,
         [](timeline::MainStage& stage, float t) { scenes::seventhScene(stage, t - 119.8f, t); });
}
BENCHMARK(seventhScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
