// Calls of the trace device: check, record, keep the state a later call depends on.
#include "platform/d3d9/trace/TraceDevice.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/Formats.h"
#include "platform/d3d9/TraceEvents.h"

namespace d3d9::trace {

namespace {

template <typename To, typename From>
To* traceObject(From* object) {
  return object ? dynamic_cast<To*>(object) : nullptr;
}

template <typename T>
ComPtr<T> share(T* object) {
  if (object) object->AddRef();
  return ComPtr<T>(object);
}

// The largest of `count` indices of type T stored from `bytes` on. A branch-free loop over typed
// loads: every draw of every frame passes here, and big meshes have hundreds of thousands of indices.
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

}  // namespace

TraceDevice::TraceDevice(const D3DPRESENT_PARAMETERS& params, std::shared_ptr<FailurePlan> failures)
    : params_(params), failures_(std::move(failures)) {
  D3DSURFACE_DESC desc{params.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                       params.MultiSampleType,  params.MultiSampleQuality, params.BackBufferWidth,
                       params.BackBufferHeight};
  backBuffer_ = ComPtr<TraceSurface>(new TraceSurface(desc, nullptr));
  backBuffer_->SetDebugName("backbuffer");
  renderTarget_ = backBuffer_;
  viewport_ = {0, 0, params.BackBufferWidth, params.BackBufferHeight, 0.0f, 1.0f};
  // Direct3D's defaults for the states the system sets.
  renderStates_ = {{D3DRS_ZENABLE, D3DZB_FALSE},    {D3DRS_SRCBLEND, D3DBLEND_ONE},
                   {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_CULLMODE, D3DCULL_CCW},
                   {D3DRS_ALPHABLENDENABLE, FALSE},  {D3DRS_BLENDOP, D3DBLENDOP_ADD}};
}

HRESULT TraceDevice::refuse() {
  ++invalidCalls_;
  return D3DERR_INVALIDCALL;
}

// ---------------------------------------------------------------------------------------------
// Resources

HRESULT TraceDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                   D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE*) {
  if (!ppTexture) return refuse();
  *ppTexture = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateTexture); FAILED(hr)) return hr;
  bool renderTarget = (Usage & D3DUSAGE_RENDERTARGET) != 0;
  if (Width == 0 || Height == 0 || bytesPerTexel(Format) == 0 || isDepthFormat(Format) ||
      (renderTarget && Pool != D3DPOOL_DEFAULT)) {
    return refuse();
  }
  *ppTexture = new TraceTexture(Width, Height, Levels, Usage, Format, Pool);
  return D3D_OK;
}

HRESULT TraceDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                        IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE*) {
  if (!ppVertexBuffer) return refuse();
  *ppVertexBuffer = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateVertexBuffer); FAILED(hr)) return hr;
  if (Length == 0) return refuse();
  *ppVertexBuffer = new TraceVertexBuffer(D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, Usage, Pool,
                                                               Length, FVF});
  return D3D_OK;
}

HRESULT TraceDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                       IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE*) {
  if (!ppIndexBuffer) return refuse();
  *ppIndexBuffer = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateIndexBuffer); FAILED(hr)) return hr;
  if (Length == 0 || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32)) return refuse();
  *ppIndexBuffer = new TraceIndexBuffer(D3DINDEXBUFFER_DESC{Format, D3DRTYPE_INDEXBUFFER, Usage, Pool, Length});
  return D3D_OK;
}

HRESULT TraceDevice::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                               D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, BOOL,
                                               IDirect3DSurface9** ppSurface, HANDLE*) {
  if (!ppSurface) return refuse();
  *ppSurface = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateDepthStencilSurface); FAILED(hr)) return hr;
  if (Width == 0 || Height == 0 || !isDepthFormat(Format)) return refuse();
  D3DSURFACE_DESC desc{Format,      D3DRTYPE_SURFACE,   D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT,
                       MultiSample, MultisampleQuality, Width,                 Height};
  *ppSurface = new TraceSurface(desc, nullptr);
  return D3D_OK;
}

HRESULT TraceDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                             IDirect3DVertexDeclaration9** ppDecl) {
  if (!ppDecl) return refuse();
  *ppDecl = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateVertexDeclaration); FAILED(hr)) return hr;
  std::vector<D3DVERTEXELEMENT9> elements;
  if (FAILED(parseDeclaration(pVertexElements, elements))) return refuse();
  *ppDecl = new TraceVertexDeclaration(std::move(elements));
  return D3D_OK;
}

HRESULT TraceDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                   IDirect3DSurface9** ppBackBuffer) {
  if (!ppBackBuffer) return refuse();
  *ppBackBuffer = nullptr;
  if (HRESULT hr = failures_->next(Call::GetBackBuffer); FAILED(hr)) return hr;
  if (iSwapChain != 0 || iBackBuffer >= std::max(1u, params_.BackBufferCount) || Type != D3DBACKBUFFER_TYPE_MONO)
    return refuse();
  *ppBackBuffer = share(backBuffer_.get()).detach();
  return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Frame

HRESULT TraceDevice::BeginScene() {
  traceEvent("beginScene");
  if (inScene_) return refuse();
  inScene_ = true;
  return D3D_OK;
}

HRESULT TraceDevice::EndScene() {
  traceEvent("endScene");
  if (!inScene_) return refuse();
  inScene_ = false;
  return D3D_OK;
}

HRESULT TraceDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
  traceClear(Flags, Color, Z, Stencil);
  bool depthWanted = (Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
  if ((Count != 0) != (pRects != nullptr) || (depthWanted && !depthStencil_) || Z < 0.0f || Z > 1.0f)
    return refuse();
  return D3D_OK;
}

HRESULT TraceDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  traceEvent("present");
  if (inScene_) return refuse();
  return D3D_OK;
}

HRESULT TraceDevice::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) {
  if (!ppRenderTarget) return refuse();
  *ppRenderTarget = nullptr;
  if (HRESULT hr = failures_->next(Call::GetRenderTarget); FAILED(hr)) return hr;
  if (RenderTargetIndex != 0) return D3DERR_NOTAVAILABLE;
  *ppRenderTarget = share(renderTarget_.get()).detach();
  return D3D_OK;
}

HRESULT TraceDevice::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) {
  traceSurface("setRenderTarget", pRenderTarget);
  if (HRESULT hr = failures_->next(Call::SetRenderTarget); FAILED(hr)) return hr;
  auto* surface = traceObject<TraceSurface>(pRenderTarget);
  if (RenderTargetIndex != 0 || !surface || !surface->isRenderTarget()) return refuse();
  renderTarget_ = share(surface);
  viewport_ = {0, 0, surface->desc().Width, surface->desc().Height, 0.0f, 1.0f};
  return D3D_OK;
}

HRESULT TraceDevice::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) {
  if (!ppZStencilSurface) return refuse();
  *ppZStencilSurface = nullptr;
  if (HRESULT hr = failures_->next(Call::GetDepthStencilSurface); FAILED(hr)) return hr;
  if (!depthStencil_) return D3DERR_NOTAVAILABLE;
  *ppZStencilSurface = share(depthStencil_.get()).detach();
  return D3D_OK;
}

HRESULT TraceDevice::SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) {
  traceSurface("setDepthStencil", pNewZStencil);
  if (HRESULT hr = failures_->next(Call::SetDepthStencilSurface); FAILED(hr)) return hr;
  auto* surface = traceObject<TraceSurface>(pNewZStencil);
  if (pNewZStencil && (!surface || !surface->isDepthStencil())) return refuse();
  depthStencil_ = share(surface);
  return D3D_OK;
}

HRESULT TraceDevice::StretchRect(IDirect3DSurface9* pSourceSurface, const RECT*, IDirect3DSurface9* pDestSurface,
                                 const RECT*, D3DTEXTUREFILTERTYPE) {
  traceStretchRect(pSourceSurface, pDestSurface);
  auto* source = traceObject<TraceSurface>(pSourceSurface);
  auto* dest = traceObject<TraceSurface>(pDestSurface);
  if (!source || !dest || !dest->isRenderTarget() || source == dest) return refuse();
  return D3D_OK;
}

HRESULT TraceDevice::GetViewport(D3DVIEWPORT9* pViewport) {
  if (!pViewport) return refuse();
  *pViewport = viewport_;
  return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Drawing

HRESULT TraceDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                                     UINT Stride) {
  auto* buffer = traceObject<TraceVertexBuffer>(pStreamData);
  if (StreamNumber != 0 || (pStreamData && !buffer)) return refuse();
  stream_ = share(buffer);
  streamOffset_ = OffsetInBytes;
  streamStride_ = Stride;
  return D3D_OK;
}

HRESULT TraceDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
  auto* declaration = traceObject<TraceVertexDeclaration>(pDecl);
  if (pDecl && !declaration) return refuse();
  declaration_ = share(declaration);
  return D3D_OK;
}

HRESULT TraceDevice::SetIndices(IDirect3DIndexBuffer9* pIndexData) {
  auto* buffer = traceObject<TraceIndexBuffer>(pIndexData);
  if (pIndexData && !buffer) return refuse();
  indices_ = share(buffer);
  return D3D_OK;
}

// The draw is valid when it happens inside a scene with unlocked buffers and a declaration bound,
// and every index it reads, plus the base vertex, names a vertex inside the bound vertex buffer.
HRESULT TraceDevice::checkDraw(INT base, UINT numVertices, UINT startIndex, UINT primCount) const {
  if (!inScene_ || !stream_ || !indices_ || !declaration_ || streamStride_ == 0) return D3DERR_INVALIDCALL;
  if (stream_->locked() || indices_->locked() || base < 0 || numVertices == 0 || primCount == 0)
    return D3DERR_INVALIDCALL;
  const auto& vb = *stream_;
  const auto& ib = *indices_;
  UINT vertexCount = (vb.desc().Size - std::min(streamOffset_, vb.desc().Size)) / streamStride_;
  UINT indexSize = ib.desc().Format == D3DFMT_INDEX16 ? 2 : 4;
  std::uint64_t lastIndex = std::uint64_t(startIndex) + std::uint64_t(primCount) * 3;
  if (lastIndex * indexSize > ib.desc().Size) return D3DERR_INVALIDCALL;
  const unsigned char* first = ib.bytes().data() + std::uint64_t(startIndex) * indexSize;
  const std::uint64_t count = lastIndex - startIndex;
  const std::uint64_t largest =
      indexSize == 2 ? largestIndex<std::uint16_t>(first, count) : largestIndex<std::uint32_t>(first, count);
  return largest + std::uint64_t(base) >= vertexCount ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT TraceDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT, UINT NumVertices,
                                          UINT startIndex, UINT primCount) {
  traceDraw(stream_.get(), BaseVertexIndex, NumVertices, startIndex, primCount);
  if (Type != D3DPT_TRIANGLELIST || FAILED(checkDraw(BaseVertexIndex, NumVertices, startIndex, primCount)))
    return refuse();
  return D3D_OK;
}

HRESULT TraceDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
  traceState(State, Value);
  renderStates_[State] = Value;
  return D3D_OK;
}

HRESULT TraceDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
  if (!pValue) return refuse();
  auto it = renderStates_.find(State);
  *pValue = it == renderStates_.end() ? 0 : it->second;
  return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Direct3D object

TraceDirect3D::TraceDirect3D(AdapterConfig config, std::shared_ptr<FailurePlan> failures)
    : config_(std::move(config)), failures_(std::move(failures)) {}

std::vector<D3DDISPLAYMODE> TraceDirect3D::modesOf(D3DFORMAT format) const {
  std::vector<D3DDISPLAYMODE> modes;
  for (const D3DDISPLAYMODE& mode : config_.modes)
    if (mode.Format == format) modes.push_back(mode);
  return modes;
}

UINT TraceDirect3D::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) {
  return Adapter == 0 ? static_cast<UINT>(modesOf(Format).size()) : 0;
}

HRESULT TraceDirect3D::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) {
  auto modes = modesOf(Format);
  if (Adapter != 0 || !pMode || Mode >= modes.size()) return D3DERR_INVALIDCALL;
  *pMode = modes[Mode];
  return D3D_OK;
}

HRESULT TraceDirect3D::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE, D3DFORMAT, BOOL,
                                                  D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) {
  if (Adapter != 0) return D3DERR_INVALIDCALL;
  bool supported = MultiSampleType == D3DMULTISAMPLE_NONE;
  for (D3DMULTISAMPLE_TYPE type : config_.multisample) supported = supported || type == MultiSampleType;
  if (pQualityLevels) *pQualityLevels = supported ? 1 : 0;
  return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT TraceDirect3D::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  *pMode = config_.desktop;
  return D3D_OK;
}

HRESULT TraceDirect3D::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
  if (Adapter != 0 || !pCaps) return D3DERR_INVALIDCALL;
  *pCaps = D3DCAPS9{DeviceType, Adapter, config_.hardwareTransform ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0u, 8192, 8192};
  return D3D_OK;
}

HRESULT TraceDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE, HWND, DWORD BehaviorFlags,
                                    D3DPRESENT_PARAMETERS* pPresentationParameters,
                                    IDirect3DDevice9** ppReturnedDeviceInterface) {
  if (!ppReturnedDeviceInterface) return D3DERR_INVALIDCALL;
  *ppReturnedDeviceInterface = nullptr;
  if (HRESULT hr = failures_->next(Call::CreateDevice); FAILED(hr)) return hr;
  bool oneProcessing = !(BehaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) !=
                       !(BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  if (Adapter != 0 || !pPresentationParameters || !oneProcessing) return D3DERR_INVALIDCALL;
  const D3DPRESENT_PARAMETERS& pp = *pPresentationParameters;
  if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0) return D3DERR_INVALIDCALL;
  *ppReturnedDeviceInterface = new TraceDevice(pp, failures_);
  return D3D_OK;
}

void install(AdapterConfig config, std::shared_ptr<FailurePlan> failures) {
  useBackend([config = std::move(config), failures = std::move(failures)]() -> IDirect3D9* {
    return new TraceDirect3D(config, failures);
  });
}

}  // namespace d3d9::trace
