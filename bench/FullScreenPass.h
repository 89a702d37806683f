// The least a frame can draw: one full-screen quad sampling a 512x512 texture through one GLSL
// program, on a device whose backend compiles shaders (OpenGL). Owns its buffers, declaration,
// texture and program; main thread only. Used as the fill-rate measure and as the baseline that
// every renderer's frame rate is compared with.
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3d9/d3d9.h"

namespace bench {

class FullScreenPass {
public:
  explicit FullScreenPass(IDirect3DDevice9* device) : device_(device) {
    if (!device_ || !device_->GetShaderCompiler()) return;
    makeQuad();
    makeTexture();
    std::string log;
    program_ = device_->GetShaderCompiler()->compile(kVertex, kFragment, log);
  }

  bool ready() const { return program_ && vb_ && ib_ && declaration_ && texture_; }

  // Draws the quad into the current render target; call between BeginScene and EndScene.
  void draw() {
    program_->use();
    const float alpha = 0.8f;
    program_->setUniform("alpha1", d3d9::UniformKind::Float, &alpha, 1);
    program_->setSampler("tex0", texture_.get(), {});
    device_->SetStreamSource(0, vb_.get(), 0, 20);
    device_->SetVertexDeclaration(declaration_.get());
    device_->SetIndices(ib_.get());
    device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
  }

private:
  static constexpr const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = vec4(inPosition, 1.0); uv = inTexcoord0; }
)";

  static constexpr const char* kFragment = R"(#version 330 core
uniform sampler2D tex0;
uniform float alpha1;
in vec2 uv;
out vec4 colour;
void main() { vec4 c = texture(tex0, uv); colour = vec4(c.rgb * alpha1, c.a); }
)";

  void makeQuad() {
    const float vertices[] = {-1, 1, 0.5f, 0, 0, 1, 1, 0.5f, 1, 0, -1, -1, 0.5f, 0, 1, 1, -1, 0.5f, 1, 1};
    const WORD indices[] = {0, 1, 2, 2, 1, 3};
    void* data = nullptr;
    device_->CreateVertexBuffer(sizeof vertices, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, vb_.put(), nullptr);
    if (vb_ && SUCCEEDED(vb_->Lock(0, 0, &data, 0))) {
      std::memcpy(data, vertices, sizeof vertices);
      vb_->Unlock();
    }
    device_->CreateIndexBuffer(sizeof indices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, ib_.put(), nullptr);
    if (ib_ && SUCCEEDED(ib_->Lock(0, 0, &data, 0))) {
      std::memcpy(data, indices, sizeof indices);
      ib_->Unlock();
    }
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

  IDirect3DDevice9* device_;
  d3d9::ComPtr<IDirect3DVertexBuffer9> vb_;
  d3d9::ComPtr<IDirect3DIndexBuffer9> ib_;
  d3d9::ComPtr<IDirect3DVertexDeclaration9> declaration_;
  d3d9::ComPtr<IDirect3DTexture9> texture_;
  std::unique_ptr<d3d9::PassProgram> program_;
};

}  // namespace bench
