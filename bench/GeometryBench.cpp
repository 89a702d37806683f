// Per-frame geometry work on the null device (the trace backend with recording off): a ribbon
// rebuild, the rewrite of a 40 x 40 cube field, the upload of 10000 sprites. Budgets: 30 us,
// 300 us and 300 us.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "geometry/CubeGrid.h"
#include "geometry/GenerateGrid.h"
#include "geometry/NoiseRibbon.h"
#include "geometry/PointSprites.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"

namespace {

// A trace device; nothing is recorded because no trace sink is set.
class NullDevice {
public:
  NullDevice() {
    d3d9::trace::install();
    d3d_ = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(640, 480);
    if (d3d_) d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device_.put());
  }
  IDirect3DDevice9* get() const { return device_.get(); }

private:
  d3d9::ComPtr<IDirect3D9> d3d_;
  d3d9::ComPtr<IDirect3DDevice9> device_;
};

// One ribbon of 2 x 200 vertices rebuilt as the fourth scene does (period 40, amplitude 30,
// length 400), the phase moving on each frame.
void ribbonRebuild(benchmark::State& state) {
  NullDevice device;
  assets::Mesh ribbon;
  if (!geometry::GenerateGrid(device.get(), ribbon, 2, 200, 640, 480, -320, -240)) {
    state.SkipWithError("no ribbon grid");
    return;
  }
  float phase = 0;
  for (auto _ : state) {
    geometry::NoiseRibbon(ribbon, 40, 30, phase, 400, 453463);
    phase += 200.0f / 60.0f;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ribbonRebuild)->Unit(benchmark::kMicrosecond);

// The 38400 vertices of a 40 x 40 cube field rewritten from their rest copy, each box lifted by a
// height from its centre (the fourth scene's 60 + history + 7 sin(c + 0.02 px)).
void cubeFieldRewrite(benchmark::State& state) {
  NullDevice device;
  assets::Mesh field;
  if (!geometry::CubeGrid(device.get(), field, 10, 10, 10, 40, 40)) {
    state.SkipWithError("no cube field");
    return;
  }
  const std::vector<geometry::CubeVertex> rest = geometry::cubeGridVertices(10, 10, 10, 40, 40);
  std::vector<float> history(41, 12.0f);
  std::vector<float> lifts(rest.size() / geometry::kBoxVertices);
  float c = 0;
  for (auto _ : state) {
    for (std::size_t box = 0; box < lifts.size(); ++box) {
      const D3DXVECTOR3& centre = rest[box * geometry::kBoxVertices].binormal;
      const auto row = static_cast<std::size_t>((centre.z + 200.0f) * 0.1f);
      lifts[box] = 60.0f + history[row] + 7.0f * std::sin(c + 0.02f * centre.x);
    }
    geometry::liftCubeGrid(field, rest, lifts, D3DXVECTOR3(0, 0, -150));
    c += 0.05f;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(cubeFieldRewrite)->Unit(benchmark::kMicrosecond);

// The swarm: 10000 particles, 40000 vertices, 800 kB through one discarding lock.
void spriteUpload(benchmark::State& state) {
  NullDevice device;
  geometry::PointSprites swarm;
  if (!swarm.init(device.get(), 10000)) {
    state.SkipWithError("no sprites");
    return;
  }
  for (std::size_t k = 0; k < swarm.positions.size(); ++k)
    swarm.positions[k] = D3DXVECTOR4(0.5f * k, 0.004f * k, -0.25f * k, 0.0f);
  for (auto _ : state) {
    swarm.upload();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(spriteUpload)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
