// Test helper: a device that forwards every call to another and counts the creation calls by
// kind, so a test knows how many creation calls a healthy start-up makes before it fails each one
// in turn. Reference counted like a device; holds a reference to the device it forwards to.
#pragma once

#include <array>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/trace/FailurePlan.h"

namespace robustness {

using CreationCounts = std::array<unsigned, std::size_t(d3d9::trace::Call::Count)>;

class CountingDevice final : public IDirect3DDevice9 {
public:
  CountingDevice(IDirect3DDevice9* device, CreationCounts& counts) : counts_(counts) {
    device->AddRef();
    device_ = d3d9::ComPtr<IDirect3DDevice9>(device);
  }

  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  d3d9::ShaderCompiler* GetShaderCompiler() override { return device_->GetShaderCompiler(); }

  HRESULT CreateTexture(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture9** texture, HANDLE* shared) override {
    count(d3d9::trace::Call::CreateTexture);
    return device_->CreateTexture(w, h, levels, usage, format, pool, texture, shared);
  }
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                             HANDLE* shared) override {
    count(d3d9::trace::Call::CreateVertexBuffer);
    return device_->CreateVertexBuffer(length, usage, fvf, pool, buffer, shared);
  }
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                            HANDLE* shared) override {
    count(d3d9::trace::Call::CreateIndexBuffer);
    return device_->CreateIndexBuffer(length, usage, format, pool, buffer, shared);
  }
  HRESULT CreateDepthStencilSurface(UINT w, UINT h, D3DFORMAT format, D3DMULTISAMPLE_TYPE samples, DWORD quality,
                                    BOOL discard, IDirect3DSurface9** surface, HANDLE* shared) override {
    count(d3d9::trace::Call::CreateDepthStencilSurface);
    return device_->CreateDepthStencilSurface(w, h, format, samples, quality, discard, surface, shared);
  }
  HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements, IDirect3DVertexDeclaration9** decl) override {
    count(d3d9::trace::Call::CreateVertexDeclaration);
    return device_->CreateVertexDeclaration(elements, decl);
  }
  HRESULT GetBackBuffer(UINT chain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override {
    return device_->GetBackBuffer(chain, index, type, surface);
  }

  HRESULT BeginScene() override { return device_->BeginScene(); }
  HRESULT EndScene() override { return device_->EndScene(); }
  HRESULT Clear(DWORD n, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override {
    return device_->Clear(n, rects, flags, colour, z, stencil);
  }
  HRESULT Present(const RECT* from, const RECT* to, HWND window, const void* dirty) override {
    return device_->Present(from, to, window, dirty);
  }
  HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override {
    return device_->GetRenderTarget(index, surface);
  }
  HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override {
    return device_->SetRenderTarget(index, surface);
  }
  HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override { return device_->GetDepthStencilSurface(surface); }
  HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override { return device_->SetDepthStencilSurface(surface); }
  HRESULT StretchRect(IDirect3DSurface9* from, const RECT* fromRect, IDirect3DSurface9* to, const RECT* toRect,
                      D3DTEXTUREFILTERTYPE filter) override {
    return device_->StretchRect(from, fromRect, to, toRect, filter);
  }
  HRESULT GetViewport(D3DVIEWPORT9* viewport) override { return device_->GetViewport(viewport); }

  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override {
    return device_->SetStreamSource(stream, buffer, offset, stride);
  }
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* decl) override { return device_->SetVertexDeclaration(decl); }
  HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override { return device_->SetIndices(indices); }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minIndex, UINT vertices, UINT start,
                               UINT primitives) override {
    return device_->DrawIndexedPrimitive(type, base, minIndex, vertices, start, primitives);
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override { return device_->SetRenderState(state, value); }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return device_->GetRenderState(state, value); }

private:
  void count(d3d9::trace::Call call) { ++counts_[std::size_t(call)]; }

  d3d9::ComPtr<IDirect3DDevice9> device_;
  CreationCounts& counts_;
  ULONG references_ = 1;
};

}  // namespace robustness
