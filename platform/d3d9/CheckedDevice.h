// The device calls as every backend takes them: each call writes its frame-trace event, is checked
// as the debug runtime checks it (refusals counted), and keeps the state later calls depend on;
// only then does the backend do its own work through the hooks below. Backends own their objects;
// this class owns the bound targets, buffers and render states.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/Formats.h"
#include "platform/d3d9/Resources.h"
#include "platform/d3d9/TraceEvents.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/trace/FailurePlan.h"

namespace d3d9 {

struct CheckOptions {
  // Reads every index a draw uses and refuses the draw when one, plus the base vertex, lies past
  // the bound vertex buffer. It costs a pass over the indices on every draw.
  bool scanIndices = false;
};

// Whether `r` is a non-empty rectangle inside a surface of that size.
inline bool insideSurface(const RECT& r, const D3DSURFACE_DESC& desc) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && UINT(r.right) <= desc.Width &&
         UINT(r.bottom) <= desc.Height;
}

// The largest of `count` indices of type T stored from `bytes` on. A branch-free loop over typed
// loads: big meshes have hundreds of thousands of indices.
template <typename T>
std::uint64_t largestIndex(const unsigned char* bytes, std::uint64_t count) {
  T largest = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    T index;
    std::memcpy(&index, bytes + i * sizeof(T), sizeof(T));
    largest = index > largest ? index : largest;
  }
  return largest;
}

// The backend's object types: its surface (derived from d3d9::Surface), its vertex and index
// buffers (with desc(), locked() and bytes()) and its declaration. An object of another backend is
// refused like any wrong argument.
template <typename SurfaceType, typename VertexBufferType, typename IndexBufferType, typename DeclarationType>
class CheckedDevice : public RefCounted<IDirect3DDevice9> {
public:
  HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                        IDirect3DTexture9** ppTexture, HANDLE*) final {
    bool renderTarget = (Usage & D3DUSAGE_RENDERTARGET) != 0;
    bool valid = Width != 0 && Height != 0 && bytesPerTexel(Format) != 0 && !isDepthFormat(Format) &&
                 (!renderTarget || Pool == D3DPOOL_DEFAULT);
    return create(ppTexture, trace::Call::CreateTexture, valid,
                  [&] { return newTexture(Width, Height, Levels, Usage, Format, Pool); });
  }
  HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                             IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE*) final {
    D3DVERTEXBUFFER_DESC desc{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, Usage, Pool, Length, FVF};
    return create(ppVertexBuffer, trace::Call::CreateVertexBuffer, Length != 0, [&] { return newVertexBuffer(desc); });
  }
  HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                            IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE*) final {
    bool valid = Length != 0 && (Format == D3DFMT_INDEX16 || Format == D3DFMT_INDEX32);
    D3DINDEXBUFFER_DESC desc{Format, D3DRTYPE_INDEXBUFFER, Usage, Pool, Length};
    return create(ppIndexBuffer, trace::Call::CreateIndexBuffer, valid, [&] { return newIndexBuffer(desc); });
  }
  HRESULT CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                                    DWORD MultisampleQuality, BOOL, IDirect3DSurface9** ppSurface, HANDLE*) final {
    D3DSURFACE_DESC desc{Format,      D3DRTYPE_SURFACE,   D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT,
                         MultiSample, MultisampleQuality, Width,                 Height};
    bool maskable = MultiSample == D3DMULTISAMPLE_NONE || (MultiSample >= 2 && MultiSample <= 16);
    return create(ppSurface, trace::Call::CreateDepthStencilSurface,
                  Width != 0 && Height != 0 && isDepthFormat(Format) && maskable,
                  [&] { return newDepthStencil(desc); });
  }
  HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                  IDirect3DVertexDeclaration9** ppDecl) final {
    std::vector<D3DVERTEXELEMENT9> elements;
    bool valid = SUCCEEDED(parseDeclaration(pVertexElements, elements));
    return create(ppDecl, trace::Call::CreateVertexDeclaration, valid,
                  [&] { return newDeclaration(std::move(elements)); });
  }
  HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                        IDirect3DSurface9** ppBackBuffer) final {
    bool valid = iSwapChain == 0 && iBackBuffer < std::max(1u, params_.BackBufferCount) &&
                 Type == D3DBACKBUFFER_TYPE_MONO;
    return create(ppBackBuffer, trace::Call::GetBackBuffer, valid, [&] { return handOut(backBuffer_); });
  }

  HRESULT BeginScene() final {
    traceEvent("beginScene");
    if (inScene_) return refuse();
    inScene_ = true;
    return D3D_OK;
  }
  HRESULT EndScene() final {
    traceEvent("endScene");
    if (!inScene_) return refuse();
    inScene_ = false;
    return D3D_OK;
  }
  HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) final {
    traceClear(Flags, Color, Z, Stencil);
    bool depthWanted = (Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
    if ((Count != 0) != (pRects != nullptr) || (depthWanted && !depthStencil_) || Z < 0.0f || Z > 1.0f)
      return refuse();
    return clearTargets(Count, pRects, Flags, Color, Z, Stencil) ? D3D_OK : refuse();
  }
  HRESULT Present(const RECT*, const RECT*, HWND, const void*) final {
    traceEvent("present");
    if (inScene_) return refuse();
    present();
    return D3D_OK;
  }
  HRESULT GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) final {
    if (!ppRenderTarget) return refuse();
    *ppRenderTarget = nullptr;
    if (HRESULT hr = failure(trace::Call::GetRenderTarget); FAILED(hr)) return hr;
    if (RenderTargetIndex != 0) return D3DERR_NOTAVAILABLE;
    *ppRenderTarget = handOut(renderTarget_);
    return D3D_OK;
  }
  HRESULT SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) final {
    traceSurface("setRenderTarget", pRenderTarget);
    if (HRESULT hr = failure(trace::Call::SetRenderTarget); FAILED(hr)) return hr;
    auto* surface = own<SurfaceType>(pRenderTarget);
    if (RenderTargetIndex != 0 || !surface || !surface->isRenderTarget()) return refuse();
    renderTarget_ = share(surface);
    viewport_ = {0, 0, surface->desc().Width, surface->desc().Height, 0.0f, 1.0f};
    targetsChanged();
    return D3D_OK;
  }
  HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) final {
    if (!ppZStencilSurface) return refuse();
    *ppZStencilSurface = nullptr;
    if (HRESULT hr = failure(trace::Call::GetDepthStencilSurface); FAILED(hr)) return hr;
    if (!depthStencil_) return D3DERR_NOTAVAILABLE;
    *ppZStencilSurface = handOut(depthStencil_);
    return D3D_OK;
  }
  HRESULT SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) final {
    traceSurface("setDepthStencil", pNewZStencil);
    if (HRESULT hr = failure(trace::Call::SetDepthStencilSurface); FAILED(hr)) return hr;
    auto* surface = own<SurfaceType>(pNewZStencil);
    if (pNewZStencil && (!surface || !surface->isDepthStencil())) return refuse();
    depthStencil_ = share(surface);
    targetsChanged();
    return D3D_OK;
  }
  // Copies between two different colour surfaces, whole surfaces where no rectangle is given.
  HRESULT StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect, IDirect3DSurface9* pDestSurface,
                      const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter) final {
    traceStretchRect(pSourceSurface, pDestSurface, Filter);
    auto* source = own<SurfaceType>(pSourceSurface);
    auto* dest = own<SurfaceType>(pDestSurface);
    if (!source || !dest || !dest->isRenderTarget() || source->isDepthStencil() || source == dest) return refuse();
    RECT from = pSourceRect ? *pSourceRect : source->wholeRect();
    RECT to = pDestRect ? *pDestRect : dest->wholeRect();
    if (!insideSurface(from, source->desc()) || !insideSurface(to, dest->desc())) return refuse();
    copy(*source, from, *dest, to, Filter);
    return D3D_OK;
  }
  HRESULT GetViewport(D3DVIEWPORT9* pViewport) final {
    if (!pViewport) return refuse();
    *pViewport = viewport_;
    return D3D_OK;
  }

  HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                          UINT Stride) final {
    auto* buffer = own<VertexBufferType>(pStreamData);
    if (StreamNumber != 0 || (pStreamData && !buffer)) return refuse();
    stream_ = share(buffer);
    streamOffset_ = OffsetInBytes;
    streamStride_ = Stride;
    streamChanged();
    return D3D_OK;
  }
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) final {
    auto* declaration = own<DeclarationType>(pDecl);
    if (pDecl && !declaration) return refuse();
    declaration_ = share(declaration);
    streamChanged();
    return D3D_OK;
  }
  HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) final {
    auto* buffer = own<IndexBufferType>(pIndexData);
    if (pIndexData && !buffer) return refuse();
    indices_ = share(buffer);
    return D3D_OK;
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT, UINT NumVertices, UINT startIndex,
                               UINT primCount) final {
    traceDraw(stream_.get(), BaseVertexIndex, NumVertices, startIndex, primCount);
    if (Type != D3DPT_TRIANGLELIST || !drawValid(BaseVertexIndex, NumVertices, startIndex, primCount))
      return refuse();
    return draw(BaseVertexIndex, startIndex, primCount) ? D3D_OK : refuse();
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) final {
    traceState(State, Value);
    renderStates_[State] = Value;
    applyRenderState(State, Value);
    return D3D_OK;
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) final {
    if (!pValue) return refuse();
    *pValue = renderState(State);
    return D3D_OK;
  }

  // How many calls this device refused as invalid (wrong bracket, missing buffers, indices out of
  // range, bad arguments). A correct frame leaves it unchanged.
  unsigned invalidCalls() const { return invalidCalls_; }
  const D3DPRESENT_PARAMETERS& presentParameters() const { return params_; }
  bool inScene() const { return inScene_; }

protected:
  CheckedDevice(const D3DPRESENT_PARAMETERS& params, CheckOptions options) : params_(params), options_(options) {
    viewport_ = {0, 0, params.BackBufferWidth, params.BackBufferHeight, 0.0f, 1.0f};
  }
  // The backend's back buffer, made in its constructor; it starts as the render target.
  void useBackBuffer(SurfaceType* backBuffer) {
    backBuffer_ = ComPtr<SurfaceType>(backBuffer);
    backBuffer_->SetDebugName("backbuffer");
    renderTarget_ = backBuffer_;
  }

  // Hooks, called once a call has passed its checks. The makers return null to refuse.
  virtual HRESULT failure(trace::Call) { return D3D_OK; }
  virtual IDirect3DTexture9* newTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                        D3DPOOL pool) = 0;
  virtual IDirect3DVertexBuffer9* newVertexBuffer(const D3DVERTEXBUFFER_DESC& desc) = 0;
  virtual IDirect3DIndexBuffer9* newIndexBuffer(const D3DINDEXBUFFER_DESC& desc) = 0;
  virtual IDirect3DSurface9* newDepthStencil(const D3DSURFACE_DESC& desc) = 0;
  virtual IDirect3DVertexDeclaration9* newDeclaration(std::vector<D3DVERTEXELEMENT9> elements) = 0;
  // False when the targets cannot be drawn to (the call is then refused).
  virtual bool clearTargets(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                            DWORD stencil) = 0;
  virtual bool draw(INT base, UINT startIndex, UINT primCount) = 0;
  virtual void present() = 0;
  virtual void copy(SurfaceType& source, const RECT& from, SurfaceType& dest, const RECT& to,
                    D3DTEXTUREFILTERTYPE filter) = 0;
  virtual void targetsChanged() {}
  virtual void streamChanged() {}
  virtual void applyRenderState(D3DRENDERSTATETYPE, DWORD) {}

  SurfaceType& backBuffer() const { return *backBuffer_; }
  SurfaceType& renderTarget() const { return *renderTarget_; }
  SurfaceType* depthStencil() const { return depthStencil_.get(); }
  VertexBufferType& stream() const { return *stream_; }
  UINT streamOffset() const { return streamOffset_; }
  UINT streamStride() const { return streamStride_; }
  DeclarationType& declaration() const { return *declaration_; }
  IndexBufferType& indices() const { return *indices_; }
  const D3DVIEWPORT9& viewport() const { return viewport_; }
  DWORD renderState(D3DRENDERSTATETYPE state) const {
    auto it = renderStates_.find(state);
    return it == renderStates_.end() ? 0 : it->second;
  }
  const std::map<D3DRENDERSTATETYPE, DWORD>& renderStates() const { return renderStates_; }

private:
  template <typename To, typename From>
  static To* own(From* object) {
    return object ? dynamic_cast<To*>(object) : nullptr;
  }
  template <typename T>
  static ComPtr<T> share(T* object) {
    if (object) object->AddRef();
    return ComPtr<T>(object);
  }
  template <typename T>
  static T* handOut(const ComPtr<T>& held) {
    return share(held.get()).detach();
  }

  HRESULT refuse() {
    ++invalidCalls_;
    return D3DERR_INVALIDCALL;
  }

  // The pattern of every call that hands out an object: no out-pointer is refused, the out-pointer
  // is cleared, an injected failure comes next, then the argument checks, then the backend's maker.
  template <typename Out, typename Make>
  HRESULT create(Out** out, trace::Call call, bool valid, Make make) {
    if (!out) return refuse();
    *out = nullptr;
    if (HRESULT hr = failure(call); FAILED(hr)) return hr;
    if (!valid) return refuse();
    *out = make();
    return *out ? D3D_OK : refuse();
  }

  // A draw is valid inside a scene with unlocked buffers and a declaration bound, reading indices
  // inside the index buffer; with index scanning, every index read plus the base must name a
  // vertex inside the bound vertex buffer.
  bool drawValid(INT base, UINT numVertices, UINT startIndex, UINT primCount) const {
    if (!inScene_ || !stream_ || !indices_ || !declaration_ || streamStride_ == 0) return false;
    if (stream_->locked() || indices_->locked() || base < 0 || numVertices == 0 || primCount == 0) return false;
    UINT indexSize = indices_->desc().Format == D3DFMT_INDEX16 ? 2 : 4;
    std::uint64_t lastIndex = std::uint64_t(startIndex) + std::uint64_t(primCount) * 3;
    if (lastIndex * indexSize > indices_->desc().Size) return false;
    if (!options_.scanIndices) return true;
    UINT vbSize = stream_->desc().Size;
    UINT vertexCount = (vbSize - std::min(streamOffset_, vbSize)) / streamStride_;
    const unsigned char* first = indices_->bytes().data() + std::uint64_t(startIndex) * indexSize;
    const std::uint64_t count = lastIndex - startIndex;
    const std::uint64_t largest =
        indexSize == 2 ? largestIndex<std::uint16_t>(first, count) : largestIndex<std::uint32_t>(first, count);
    return largest + std::uint64_t(base) < vertexCount;
  }

  D3DPRESENT_PARAMETERS params_;
  CheckOptions options_;
  ComPtr<SurfaceType> backBuffer_;
  ComPtr<SurfaceType> renderTarget_;
  ComPtr<SurfaceType> depthStencil_;
  ComPtr<VertexBufferType> stream_;
  UINT streamOffset_ = 0;
  UINT streamStride_ = 0;
  ComPtr<DeclarationType> declaration_;
  ComPtr<IndexBufferType> indices_;
  // Direct3D's defaults for the states the system sets (no automatic depth buffer: Z off).
  std::map<D3DRENDERSTATETYPE, DWORD> renderStates_ = {
      {D3DRS_ZENABLE, D3DZB_FALSE},    {D3DRS_SRCBLEND, D3DBLEND_ONE},  {D3DRS_DESTBLEND, D3DBLEND_ZERO},
      {D3DRS_CULLMODE, D3DCULL_CCW},   {D3DRS_ALPHABLENDENABLE, FALSE}, {D3DRS_BLENDOP, D3DBLENDOP_ADD}};
  D3DVIEWPORT9 viewport_{};
  bool inScene_ = false;
  unsigned invalidCalls_ = 0;
};

}  // namespace d3d9
