// Fill rate of the OpenGL backend on the headless context (llvmpipe): frames per second of a
// clear, one full-screen textured pass and Present, at 640x480 and 1280x720, single-sampled and 4x
// multisampled. "frames" counts Present alone (one readback every 30 frames waits for the GPU so
// the queued work is inside the time); "captured" reads every frame back, as `render` and
// `capture` do.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3d9/gl/GlBackend.h"

namespace {

using d3d9::ComPtr;

constexpr int kFramesPerSync = 30;

const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = vec4(inPosition, 1.0); uv = inTexcoord0; }
)";

const char* kFragment = R"(#version 330 core
uniform sampler2D tex0;
uniform float alpha1;
in vec2 uv;
out vec4 colour;
void main() { vec4 c = texture(tex0, uv); colour = vec4(c.rgb * alpha1, c.a); }
)";

// A device with a full-screen quad, a 512x512 texture and the pass that draws it.
class FillScene {
public:
  FillScene(UINT width, UINT height, D3DMULTISAMPLE_TYPE multisample) {
    d3d9::gl::installHeadless();
    d3d_ = ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    if (!d3d_) return;
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 3;
    pp.MultiSampleType = multisample;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = TRUE;
    if (FAILED(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp,
                                  device_.put())))
      return;
    makeQuad();
    makeTexture();
    std::string log;
    program_ = device_->GetShaderCompiler()->compile(kVertex, kFragment, log);
  }

  bool ready() const { return program_ != nullptr; }

  void frame() {
    device_->BeginScene();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    program_->use();
    const float alpha = 0.8f;
    program_->setUniform("alpha1", d3d9::UniformKind::Float, &alpha, 1);
    program_->setSampler("tex0", texture_.get(), {});
    device_->SetStreamSource(0, vb_.get(), 0, 20);
    device_->SetVertexDeclaration(declaration_.get());
    device_->SetIndices(ib_.get());
    device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
    device_->EndScene();
    device_->Present(nullptr, nullptr, nullptr, nullptr);
  }

  // Reads the presented frame back, which waits for everything queued before it.
  std::size_t readBack() { return d3d9::gl::presentedImage(device_.get()).rgba.size(); }

private:
  void makeQuad() {
    const float vertices[] = {-1, 1, 0.5f, 0, 0, 1, 1, 0.5f, 1, 0, -1, -1, 0.5f, 0, 1, 1, -1, 0.5f, 1, 1};
    const WORD indices[] = {0, 1, 2, 2, 1, 3};
    void* data = nullptr;
    device_->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, vb_.put(), nullptr);
    vb_->Lock(0, 0, &data, 0);
    std::memcpy(data, vertices, sizeof vertices);
    vb_->Unlock();
    device_->CreateIndexBuffer(sizeof indices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, ib_.put(), nullptr);
    ib_->Lock(0, 0, &data, 0);
    std::memcpy(data, indices, sizeof indices);
    ib_->Unlock();
    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                    {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    D3DDECL_END()};
    device_->CreateVertexDeclaration(elements, declaration_.put());
  }

  void makeTexture() {
    constexpr UINT kSize = 512;
    device_->CreateTexture(kSize, kSize, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture_.put(), nullptr);
    D3DLOCKED_RECT rect{};
    if (!texture_ || FAILED(texture_->LockRect(0, &rect, nullptr, 0))) return;
    for (UINT y = 0; y < kSize; ++y) {
      auto* row = static_cast<BYTE*>(rect.pBits) + y * rect.Pitch;
      for (UINT x = 0; x < kSize; ++x) {
        BYTE texel[4] = {BYTE(x), BYTE(y), BYTE((x ^ y) & 0xFF), 255};
        std::memcpy(row + x * 4, texel, 4);
      }
    }
    texture_->UnlockRect(0);
  }

  ComPtr<IDirect3D9> d3d_;
  ComPtr<IDirect3DDevice9> device_;
  ComPtr<IDirect3DVertexBuffer9> vb_;
  ComPtr<IDirect3DIndexBuffer9> ib_;
  ComPtr<IDirect3DVertexDeclaration9> declaration_;
  ComPtr<IDirect3DTexture9> texture_;
  std::unique_ptr<d3d9::PassProgram> program_;
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
