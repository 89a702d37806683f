// The trace backend: a Direct3D object and device with no GPU. Resources keep their bytes in
// memory; every frame and drawing call appends one line to the frame trace and is checked as the
// debug runtime would check it. `install` makes Direct3DCreate9 build this backend.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/trace/FailurePlan.h"
#include "platform/d3d9/trace/TraceResources.h"

namespace d3d9::trace {

// What the trace adapter reports: its modes, the desktop mode, the hardware transform capability
// and the multisample types it accepts.
struct AdapterConfig {
  std::vector<D3DDISPLAYMODE> modes = {
      {640, 480, 60, D3DFMT_X8R8G8B8},   {800, 600, 60, D3DFMT_X8R8G8B8},
      {1024, 768, 60, D3DFMT_X8R8G8B8},  {1280, 720, 60, D3DFMT_X8R8G8B8},
      {1280, 1024, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8},
  };
  D3DDISPLAYMODE desktop = {1920, 1080, 60, D3DFMT_X8R8G8B8};
  bool hardwareTransform = true;
  std::vector<D3DMULTISAMPLE_TYPE> multisample = {D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_4_SAMPLES,
                                                  D3DMULTISAMPLE_8_SAMPLES};
};

class TraceDevice final : public RefCounted<IDirect3DDevice9> {
public:
  TraceDevice(const D3DPRESENT_PARAMETERS& params, std::shared_ptr<FailurePlan> failures);

  // No shaders run here; a test may lend a compiler to watch what the effect framework uploads.
  ShaderCompiler* GetShaderCompiler() override { return shaderCompiler_; }
  void lendShaderCompiler(ShaderCompiler* compiler) { shaderCompiler_ = compiler; }

  HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                        IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override;
  HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                             IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) override;
  HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                            IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle) override;
  HRESULT CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                                    DWORD MultisampleQuality, BOOL Discard, IDirect3DSurface9** ppSurface,
                                    HANDLE* pSharedHandle) override;
  HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                  IDirect3DVertexDeclaration9** ppDecl) override;
  HRESULT GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                        IDirect3DSurface9** ppBackBuffer) override;

  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) override;
  HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                  const void* pDirtyRegion) override;
  HRESULT GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) override;
  HRESULT SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) override;
  HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override;
  HRESULT SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) override;
  HRESULT StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect, IDirect3DSurface9* pDestSurface,
                      const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter) override;
  HRESULT GetViewport(D3DVIEWPORT9* pViewport) override;

  HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                          UINT Stride) override;
  HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override;
  HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT MinVertexIndex, UINT NumVertices,
                               UINT startIndex, UINT primCount) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override;

  // How many calls this device refused as invalid (wrong bracket, missing buffers, indices out of
  // range, bad arguments). A correct frame leaves it unchanged.
  unsigned invalidCalls() const { return invalidCalls_; }
  const D3DPRESENT_PARAMETERS& presentParameters() const { return params_; }
  bool inScene() const { return inScene_; }

private:
  HRESULT refuse();
  HRESULT checkDraw(INT base, UINT numVertices, UINT startIndex, UINT primCount) const;

  D3DPRESENT_PARAMETERS params_;
  std::shared_ptr<FailurePlan> failures_;
  ComPtr<TraceSurface> backBuffer_;
  ComPtr<TraceSurface> renderTarget_;
  ComPtr<TraceSurface> depthStencil_;
  ComPtr<TraceVertexBuffer> stream_;
  UINT streamOffset_ = 0;
  UINT streamStride_ = 0;
  ComPtr<TraceVertexDeclaration> declaration_;
  ComPtr<TraceIndexBuffer> indices_;
  std::map<D3DRENDERSTATETYPE, DWORD> renderStates_;
  D3DVIEWPORT9 viewport_{};
  bool inScene_ = false;
  unsigned invalidCalls_ = 0;
  ShaderCompiler* shaderCompiler_ = nullptr;
};

class TraceDirect3D final : public RefCounted<IDirect3D9> {
public:
  TraceDirect3D(AdapterConfig config, std::shared_ptr<FailurePlan> failures);

  UINT GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) override;
  HRESULT EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) override;
  HRESULT CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL Windowed,
                                     D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) override;
  HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) override;
  HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) override;
  HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                       D3DPRESENT_PARAMETERS* pPresentationParameters,
                       IDirect3DDevice9** ppReturnedDeviceInterface) override;

private:
  std::vector<D3DDISPLAYMODE> modesOf(D3DFORMAT format) const;
  AdapterConfig config_;
  std::shared_ptr<FailurePlan> failures_;
};

// Makes Direct3DCreate9 build trace objects with this adapter and failure plan.
void install(AdapterConfig config = {}, std::shared_ptr<FailurePlan> failures = std::make_shared<FailurePlan>());

}  // namespace d3d9::trace
