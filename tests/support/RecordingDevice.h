// Test helper: a device that forwards every call to another and records what the frame trace
// does not show: how many creation calls of each kind it made (a test fails each in turn), and
// every lock and last release of the vertex and index buffers it created. Those buffers are handed
// out wrapped and unwrapped again when bound. Reference counted like a device; holds a reference
// to the device it forwards to. The record must outlive every buffer the device created.
#pragma once

#include <array>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/trace/FailurePlan.h"

namespace testsupport {

using CreationCounts = std::array<unsigned, std::size_t(d3d9::trace::Call::Count)>;

struct BufferEvent {
  enum Kind { Lock, Release } kind;
  const void* buffer;  // the buffer as the caller holds it
  std::string name;    // its debug name at the time ("" when it has none)
  bool vertices;       // a vertex buffer, else an index buffer
  DWORD flags = 0;     // the lock's flags
};

struct DeviceRecord {
  CreationCounts creations{};
  std::vector<BufferEvent> buffers;
};

// A vertex or index buffer that notes its locks and its last release, then passes each call on.
template <class Interface, class Desc>
class RecordedBuffer final : public Interface {
public:
  RecordedBuffer(Interface* buffer, DeviceRecord& record) : buffer_(buffer), record_(record) {}
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      note(BufferEvent::Release, 0);
      delete this;
    }
    return left;
  }
  void SetDebugName(const char* name) override { buffer_->SetDebugName(name); }
  const char* GetDebugName() const override { return buffer_->GetDebugName(); }
  HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    note(BufferEvent::Lock, flags);
    return buffer_->Lock(offset, size, data, flags);
  }
  HRESULT Unlock() override { return buffer_->Unlock(); }
  HRESULT GetDesc(Desc* desc) override { return buffer_->GetDesc(desc); }

  // The buffer this one stands for, or `buffer` itself when it is not a recorded one.
  static Interface* inner(Interface* buffer) {
    auto* recorded = dynamic_cast<RecordedBuffer*>(buffer);
    return recorded ? recorded->buffer_.get() : buffer;
  }

private:
  void note(BufferEvent::Kind kind, DWORD flags) {
    const char* name = buffer_->GetDebugName();
    record_.buffers.push_back({kind, this, name ? name : "", std::is_same_v<Interface, IDirect3DVertexBuffer9>, flags});
  }

  d3d9::ComPtr<Interface> buffer_;
  DeviceRecord& record_;
  ULONG references_ = 1;
};

using RecordedVertexBuffer = RecordedBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using RecordedIndexBuffer = RecordedBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

class RecordingDevice final : public IDirect3DDevice9 {
public:
  RecordingDevice(IDirect3DDevice9* device, DeviceRecord& record) : record_(record) {
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
    return wrap<RecordedVertexBuffer>(device_->CreateVertexBuffer(length, usage, fvf, pool, buffer, shared), buffer);
  }
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                            HANDLE* shared) override {
    count(d3d9::trace::Call::CreateIndexBuffer);
    return wrap<RecordedIndexBuffer>(device_->CreateIndexBuffer(length, usage, format, pool, buffer, shared), buffer);
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
    return device_->SetStreamSource(stream, RecordedVertexBuffer::inner(buffer), offset, stride);
  }
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* decl) override { return device_->SetVertexDeclaration(decl); }
  HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override {
    return device_->SetIndices(RecordedIndexBuffer::inner(indices));
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT base, UINT minIndex, UINT vertices, UINT start,
                               UINT primitives) override {
    return device_->DrawIndexedPrimitive(type, base, minIndex, vertices, start, primitives);
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override { return device_->SetRenderState(state, value); }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override { return device_->GetRenderState(state, value); }

private:
  void count(d3d9::trace::Call call) { ++record_.creations[std::size_t(call)]; }
  template <class Recorded, class Buffer>
  HRESULT wrap(HRESULT created, Buffer** buffer) {
    if (SUCCEEDED(created) && *buffer) *buffer = new Recorded(*buffer, record_);
    return created;
  }

  d3d9::ComPtr<IDirect3DDevice9> device_;
  DeviceRecord& record_;
  ULONG references_ = 1;
};

}  // namespace testsupport
