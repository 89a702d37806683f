// Test support: one script of device calls, most of them wrong, each with the result the debug
// runtime gives, sent to any backend's device. The trace device's tests and the OpenGL device's
// tests run the same script, so the two backends refuse alike and log alike.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "tests/support/TraceCapture.h"

namespace badcalls {

using d3d9::ComPtr;

// What the script works with, made on the device under test: a named 4-vertex quad bound to the
// stream, a depth surface, the back buffer and an 8x8 colour target.
struct Kit {
  IDirect3DDevice9* device = nullptr;
  ComPtr<IDirect3DVertexBuffer9> vb;
  ComPtr<IDirect3DIndexBuffer9> ib;
  ComPtr<IDirect3DVertexDeclaration9> declaration;
  ComPtr<IDirect3DSurface9> depth, backBuffer, target;
  ComPtr<IDirect3DTexture9> targetTexture;
};

struct Step {
  const char* what;
  std::function<HRESULT(Kit&)> call;
  HRESULT expected;
};

inline Kit makeKit(IDirect3DDevice9* device) {
  Kit kit;
  kit.device = device;
  device->CreateVertexBuffer(4 * 12, D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, kit.vb.put(), nullptr);
  kit.vb->SetDebugName("quad");
  device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, kit.ib.put(), nullptr);
  void* data = nullptr;
  kit.ib->Lock(0, 0, &data, 0);
  const WORD indices[] = {0, 1, 2, 2, 1, 3};
  std::memcpy(data, indices, sizeof indices);
  kit.ib->Unlock();
  const D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
  device->CreateVertexDeclaration(elements, kit.declaration.put());
  device->CreateDepthStencilSurface(16, 16, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, kit.depth.put(), nullptr);
  kit.depth->SetDebugName("depth");
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, kit.backBuffer.put());
  device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, kit.targetTexture.put(),
                        nullptr);
  kit.targetTexture->SetDebugName("target");
  kit.targetTexture->GetSurfaceLevel(0, kit.target.put());
  device->SetStreamSource(0, kit.vb.get(), 0, 12);
  device->SetVertexDeclaration(kit.declaration.get());
  device->SetIndices(kit.ib.get());
  return kit;
}

inline HRESULT drawQuad(Kit& k, UINT start = 0, UINT primitives = 2) {
  return k.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, start, primitives);
}

inline HRESULT stretch(Kit& k, IDirect3DSurface9* from, const RECT* fromRect, IDirect3DSurface9* to,
                       const RECT* toRect = nullptr) {
  return k.device->StretchRect(from, fromRect, to, toRect, D3DTEXF_LINEAR);
}

inline HRESULT create(Kit& k, D3DFORMAT format, DWORD usage, D3DPOOL pool, UINT width = 8) {
  ComPtr<IDirect3DTexture9> texture;
  return k.device->CreateTexture(width, 8, 1, usage, format, pool, texture.put(), nullptr);
}

inline HRESULT createDepth(Kit& k, D3DFORMAT format, D3DMULTISAMPLE_TYPE samples) {
  ComPtr<IDirect3DSurface9> surface;
  return k.device->CreateDepthStencilSurface(8, 8, format, samples, 0, TRUE, surface.put(), nullptr);
}

inline const std::vector<Step>& script() {
  constexpr HRESULT bad = D3DERR_INVALIDCALL;
  static const std::vector<Step> steps = {
      {"draw outside a scene", [](Kit& k) { return drawQuad(k); }, bad},
      {"begin", [](Kit& k) { return k.device->BeginScene(); }, D3D_OK},
      {"begin twice", [](Kit& k) { return k.device->BeginScene(); }, bad},
      {"draw", [](Kit& k) { return drawQuad(k); }, D3D_OK},
      {"draw past the indices", [](Kit& k) { return drawQuad(k, 3, 2); }, bad},
      {"draw a strip",
       [](Kit& k) { return k.device->DrawIndexedPrimitive(static_cast<D3DPRIMITIVETYPE>(5), 0, 0, 4, 0, 2); }, bad},
      {"draw from a locked buffer",
       [](Kit& k) {
         void* data = nullptr;
         k.vb->Lock(0, 0, &data, D3DLOCK_DISCARD);
         HRESULT hr = drawQuad(k);
         k.vb->Unlock();
         return hr;
       },
       bad},
      {"clear depth with none bound", [](Kit& k) { return k.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0); }, bad},
      {"clear a count of no rectangles", [](Kit& k) { return k.device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0); }, bad},
      {"clear to depth 1.5", [](Kit& k) { return k.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.5f, 0); }, bad},
      {"present inside the scene", [](Kit& k) { return k.device->Present(nullptr, nullptr, nullptr, nullptr); }, bad},
      {"end", [](Kit& k) { return k.device->EndScene(); }, D3D_OK},
      {"end twice", [](Kit& k) { return k.device->EndScene(); }, bad},
      {"depth surface as colour target", [](Kit& k) { return k.device->SetRenderTarget(0, k.depth.get()); }, bad},
      {"no colour target", [](Kit& k) { return k.device->SetRenderTarget(0, nullptr); }, bad},
      {"colour surface as depth", [](Kit& k) { return k.device->SetDepthStencilSurface(k.target.get()); }, bad},
      {"copy from a depth surface", [](Kit& k) { return stretch(k, k.depth.get(), nullptr, k.backBuffer.get()); }, bad},
      {"copy onto itself", [](Kit& k) { return stretch(k, k.backBuffer.get(), nullptr, k.backBuffer.get()); }, bad},
      {"copy from past the right edge",
       [](Kit& k) {
         D3DSURFACE_DESC desc{};
         k.backBuffer->GetDesc(&desc);
         const RECT outside{0, 0, LONG(desc.Width) + 1, 8};
         return stretch(k, k.backBuffer.get(), &outside, k.target.get());
       },
       bad},
      {"copy into an empty rectangle",
       [](Kit& k) {
         const RECT empty{4, 0, 4, 8};
         return stretch(k, k.backBuffer.get(), nullptr, k.target.get(), &empty);
       },
       bad},
      {"copy", [](Kit& k) { return stretch(k, k.backBuffer.get(), nullptr, k.target.get()); }, D3D_OK},
      {"managed render target", [](Kit& k) { return create(k, D3DFMT_X8R8G8B8, D3DUSAGE_RENDERTARGET, D3DPOOL_MANAGED); }, bad},
      {"depth format texture", [](Kit& k) { return create(k, D3DFMT_D24X8, 0, D3DPOOL_MANAGED); }, bad},
      {"texture 0 wide", [](Kit& k) { return create(k, D3DFMT_X8R8G8B8, 0, D3DPOOL_MANAGED, 0); }, bad},
      {"non-maskable depth", [](Kit& k) { return createDepth(k, D3DFMT_D24X8, D3DMULTISAMPLE_NONMASKABLE); }, bad},
      {"colour format depth", [](Kit& k) { return createDepth(k, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE); }, bad},
      {"index buffer of colours",
       [](Kit& k) {
         ComPtr<IDirect3DIndexBuffer9> ib;
         return k.device->CreateIndexBuffer(12, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, ib.put(), nullptr);
       },
       bad},
      {"empty vertex buffer",
       [](Kit& k) {
         ComPtr<IDirect3DVertexBuffer9> vb;
         return k.device->CreateVertexBuffer(0, 0, 0, D3DPOOL_MANAGED, vb.put(), nullptr);
       },
       bad},
      {"two elements of one usage",
       [](Kit& k) {
         const D3DVERTEXELEMENT9 twice[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                            {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                            {0, 20, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                            D3DDECL_END()};
         ComPtr<IDirect3DVertexDeclaration9> declaration;
         return k.device->CreateVertexDeclaration(twice, declaration.put());
       },
       bad},
      {"second swap chain",
       [](Kit& k) {
         ComPtr<IDirect3DSurface9> surface;
         return k.device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, surface.put());
       },
       bad},
      {"stream 1", [](Kit& k) { return k.device->SetStreamSource(1, k.vb.get(), 0, 12); }, bad},
  };
  return steps;
}

// Runs the script on `device`, checking each result; returns the trace lines it wrote.
inline std::vector<std::string> runScript(IDirect3DDevice9* device) {
  Kit kit = makeKit(device);
  testsupport::TraceCapture capture;
  for (const Step& step : script()) EXPECT_EQ(step.call(kit), step.expected) << step.what;
  return capture.lines;
}

// How many calls of the script a device must count as refused.
inline unsigned refusalsInScript() {
  unsigned count = 0;
  for (const Step& step : script()) count += step.expected == D3DERR_INVALIDCALL;
  return count;
}

}  // namespace badcalls
