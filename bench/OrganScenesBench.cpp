// The third scene, its flash variant and the fourth scene, with the generated content loaded as at
// start-up: the CPU work per frame on the null device (the trace backend with recording off; budget
// 1 ms), and with REDKITE_BENCH_GL=1 whole frames at 640 x 480 on the headless OpenGL backend
// (llvmpipe; each Present reads the frame back, so a frame is finished when it returns).
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

// The show's start-up: device, manifest, both stages and the spectrum.
class OrganShow {
 public:
  static OrganShow& instance() {
    static OrganShow show;
    return show;
  }
  timeline::OrganStage& organ() { return *organ_; }
  timeline::MainStage& main() { return *main_; }
  bool ready() const { return static_cast<bool>(device_); }

 private:
  OrganShow() {
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
    organ_ = std::make_unique<timeline::OrganStage>();
    main_ = std::make_unique<timeline::MainStage>();
    timeline::spectrumTrack().load("RV07\\syncdata\\fft.txt");
  }

  d3d9::ComPtr<IDirect3D9> d3d_;
  d3d9::ComPtr<IDirect3DDevice9> device_;
  d3d9::ComPtr<IDirect3DSurface9> depth_;
  std::unique_ptr<timeline::OrganStage> organ_;
  std::unique_ptr<timeline::MainStage> main_;
};

// Frames at 60 a second from `start`, wrapping inside the slot.
template <typename Renderer>
void frames(benchmark::State& state, float start, float length, Renderer&& draw) {
  OrganShow& show = OrganShow::instance();
  if (!show.ready()) {
    state.SkipWithError("no content or device");
    return;
  }
  int frame = 0;
  for (auto _ : state) {
    const float t = start + static_cast<float>(frame % static_cast<int>(length * 60)) / 60.0f;
    draw(show, t);
    ++frame;
  }
}

void thirdScene(benchmark::State& state) {
  frames(state, 47.75f, 21.6f, [](OrganShow& show, float t) { scenes::thirdScene(show.organ(), t - 47.7f, t); });
}
BENCHMARK(thirdScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Every beat's half second in turn: beat n and the flash value falling from 1 to 0.
void thirdFlash(benchmark::State& state) {
  frames(state, 0.0f, 14.0f, [](OrganShow& show, float t) {
    const int n = 1 + static_cast<int>(t);
    const float c = 1.0f - (t - static_cast<float>(n - 1));
    scenes::thirdFlash(show.main(), 1.0f, 48.6f + 1.3f * static_cast<float>(n), n, c);
  });
}
BENCHMARK(thirdFlash)->Unit(benchmark::kMicrosecond)->UseRealTime();

void fourthScene(benchmark::State& state) {
  frames(state, 69.45f, 21.5f, [](OrganShow& show, float t) { scenes::fourthScene(show.organ(), t - 69.4f, t); });
}
BENCHMARK(fourthScene)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
