// RenderTarget creation and its bracket.
#include "render/RenderTarget.h"

#include <string>

#include "platform/win32/MessageBox.h"
#include "render/Device.h"

namespace render {
namespace {

constexpr D3DFORMAT kDepthFormat = D3DFMT_D24X8;
constexpr const char* kDepthSuffix = ".depth";

void report(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, MB_OK); }

}  // namespace

void RenderTarget::create(UINT targetWidth, UINT targetHeight, D3DFORMAT format, const char* name) {
  IDirect3DDevice9* d = device();
  width = targetWidth;
  height = targetHeight;
  if (FAILED(d->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, texture.put(),
                              nullptr))) {
    report("boya", "ME");
  } else {
    texture->GetSurfaceLevel(0, surface.put());
    if (name) texture->SetDebugName(name);
  }
  if (FAILED(d->CreateDepthStencilSurface(width, height, kDepthFormat, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(),
                                          nullptr))) {
    report("depth", "rt");
  } else if (name) {
    depth->SetDebugName((std::string(name) + kDepthSuffix).c_str());
  }
}

void RenderTarget::begin() {
  IDirect3DDevice9* d = device();
  if (FAILED(d->GetRenderTarget(0, savedColour.put()))) report("g rt", "render");
  if (FAILED(d->GetDepthStencilSurface(savedDepth.put()))) report("g ds", "render");
  if (FAILED(d->SetRenderTarget(0, surface.get()))) report("s rt", "render");
  if (FAILED(d->SetDepthStencilSurface(depth.get()))) report("s ds", "render");
  d->BeginScene();
}

void RenderTarget::end() {
  IDirect3DDevice9* d = device();
  d->EndScene();
  if (FAILED(d->SetRenderTarget(0, savedColour.get()))) report("e s rt", "render");
  if (FAILED(d->SetDepthStencilSurface(savedDepth.get()))) report("e s ds", "render");
  savedColour.reset();
  savedDepth.reset();
}

void RenderTarget::grabBackBuffer() {
  IDirect3DDevice9* d = device();
  d3d9::ComPtr<IDirect3DSurface9> backBuffer;
  if (FAILED(d->GetRenderTarget(0, backBuffer.put()))) return;
  d->StretchRect(backBuffer.get(), nullptr, surface.get(), nullptr, D3DTEXF_NONE);
}

}  // namespace render
