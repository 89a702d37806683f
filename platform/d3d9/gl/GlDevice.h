// The OpenGL backend's device: draws into framebuffer objects (the back buffer is one), writes the
// same frame-trace events and refusals as the trace device, and owns its back buffer, shader
// compiler and blitter; the Direct3D object that made it owns nothing of it. Main thread only.
#pragma once

#include <map>
#include <memory>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlBlitter.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlResources.h"
#include "platform/d3d9/gl/GlShaderCompiler.h"
#include "platform/d3d9/gl/Image.h"

namespace d3d9::gl {

class GlDevice final : public RefCounted<IDirect3DDevice9> {
public:
  // `context` must be current; `samples` is the back buffer's sample count (0 for none) and
  // `maxSamples` the most the driver renders.
  GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& params, int samples, int maxSamples);
  ~GlDevice() override;

  ShaderCompiler* GetShaderCompiler() override { return &compiler_; }

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

  // How many calls this device refused as invalid; a correct frame leaves it unchanged.
  unsigned invalidCalls() const { return invalidCalls_; }
  const D3DPRESENT_PARAMETERS& presentParameters() const { return params_; }
  // The frame the last Present showed, RGBA rows top first, alpha 255 unless the back buffer is
  // A8R8G8B8. Empty before the first Present and on a device with a window.
  Image presentedImage();
  // Returns once the driver has done every call made so far.
  void finish();
  // OpenGL errors raised since the last call; a correct run has none.
  unsigned takeGlErrors();

private:
  HRESULT refuse();
  HRESULT checkDraw(INT base, UINT numVertices, UINT startIndex, UINT primCount) const;
  // Puts this device's GL state back when another device used the shared context since.
  void claimContext();
  void applyRenderState(D3DRENDERSTATETYPE state, DWORD value);
  // Binds the framebuffer with the current colour and depth surfaces; false when GL finds it incomplete.
  bool bindTargets();
  void bindStream();

  std::shared_ptr<GlContext> context_;
  D3DPRESENT_PARAMETERS params_;
  int maxSamples_;
  GlShaderCompiler compiler_;
  GlBlitter blitter_;
  FramebufferName framebuffer_;
  VertexArrayName vertexArray_;
  ColourBuffer front_;
  bool presented_ = false;

  ComPtr<GlSurface> backBuffer_;
  ComPtr<GlSurface> renderTarget_;
  ComPtr<GlSurface> depthStencil_;
  bool targetsChanged_ = true;
  bool targetsComplete_ = false;

  ComPtr<GlVertexBuffer> stream_;
  UINT streamOffset_ = 0;
  UINT streamStride_ = 0;
  ComPtr<GlVertexDeclaration> declaration_;
  ComPtr<GlIndexBuffer> indices_;
  bool streamChanged_ = true;
  unsigned enabledAttributes_ = 0;  // bit per attribute location

  std::map<D3DRENDERSTATETYPE, DWORD> renderStates_;
  D3DVIEWPORT9 viewport_{};
  bool inScene_ = false;
  unsigned invalidCalls_ = 0;
};

}  // namespace d3d9::gl
