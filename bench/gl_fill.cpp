// Fill rate of the OpenGL backend on the headless context (llvmpipe): frames per second of a
// clear, one full-screen textured pass and Present, at 640x480 and 1280x720, single-sampled and 4x
// multisampled. "frames" counts Present alone (one readback every 30 frames waits for the GPU so
// the queued work is inside the time); "captured" reads every frame back, as `render` and
// `capture` do.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench/FullScreenPass.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/gl/GlBackend.h"

namespace {

using d3d9::ComPtr;

constexpr int kFramesPerSync = 30;

// A device of the given size and multisampling with the full-screen textured pass.
class FillScene {
public:
  FillScene(UINT width, UINT height, D3DMULTISAMPLE_TYPE multisample) {
    d3d9::gl::installHeadless();
    d3d_ = ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d_) return;
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(width, height, 3);
    pp.MultiSampleType = multisample;
    if (FAILED(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                  device_.put())))
      return;
    pass_ = std::make_unique<bench::FullScreenPass>(device_.get());
  }

  bool ready() const { return pass_ && pass_->ready(); }

  void frame() {
    device_->BeginScene();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    pass_->draw();
    device_->EndScene();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
  }

  // Reads the presented frame back, which waits for everything queued before it.
  std::size_t readBack() { return d3d9::gl::presentedImage(device_.get()).rgba.size(); }

private:
  ComPtr<IDirect3D9> d3d_;
  ComPtr<IDirect3DDevice9> device_;
  std::unique_ptr<bench::FullScreenPass> pass_;
};

// Arguments: width, height, multisample type.
std::unique_ptr<FillScene> sceneFor(benchmark::State& state) {
  auto scene = std::make_unique<FillScene>(UINT(state.range(0)), UINT(state.range(1)),
                                           static_cast<D3DMULTISAMPLE_TYPE>(state.range(2)));
  if (!scene->ready()) state.SkipWithError("no headless OpenGL device");
  return scene;
}

// Runs `frames` frames per iteration and times them by hand; fps is frames over that time.
template <typename Iteration>
void timeFrames(benchmark::State& state, FillScene& scene, int frames, Iteration iteration) {
  double seconds = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    iteration(scene);
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  state.counters["fps"] = seconds > 0 ? double(state.iterations()) * frames / seconds : 0.0;
}

// kFramesPerSync frames, then one readback so the queued work is inside the time.
void frames(benchmark::State& state) {
  auto scene = sceneFor(state);
  if (!scene->ready()) return;
  scene->frame();
  scene->readBack();
  timeFrames(state, *scene, kFramesPerSync, [](FillScene& s) {
    for (int i = 0; i < kFramesPerSync; ++i) s.frame();
    benchmark::DoNotOptimize(s.readBack());
  });
}

// Every frame read back, as headless rendering to PNG or video does.
void captured(benchmark::State& state) {
  auto scene = sceneFor(state);
  if (!scene->ready()) return;
  timeFrames(state, *scene, 1, [](FillScene& s) {
    s.frame();
    benchmark::DoNotOptimize(s.readBack());
  });
}

void sizes(benchmark::internal::Benchmark* b) {
  for (long multisample : {0L, 4L}) {
    b->Args({640, 480, multisample});
    b->Args({1280, 720, multisample});
  }
  b->ArgNames({"w", "h", "msaa"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(frames)->Apply(sizes)->UseManualTime();
BENCHMARK(captured)->Apply(sizes)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
