// The OpenGL backend's device: draws into framebuffer objects (the back buffer is one) once the
// shared checks let a call through, and owns its back buffer, shader compiler and blitter; the
// Direct3D object that made it owns nothing of it. Main thread only.
#pragma once

#include <memory>

#include "platform/d3d9/CheckedDevice.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlBlitter.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlResources.h"
#include "platform/d3d9/gl/GlShaderCompiler.h"
#include "platform/d3d9/gl/Image.h"

namespace d3d9::gl {

// Indices are not scanned: the driver reads them, and a scan would cost every draw a pass over
// them on the CPU.
class GlDevice final : public CheckedDevice<GlSurface, GlVertexBuffer, GlIndexBuffer, GlVertexDeclaration> {
public:
  // `context` must be current; `samples` is the back buffer's sample count (0 for none) and
  // `maxSamples` the most the driver renders.
  GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& params, int samples, int maxSamples);
  ~GlDevice() override;

  ShaderCompiler* GetShaderCompiler() override { return &compiler_; }

  // The frame the last Present showed, RGBA rows top first, alpha 255 unless the back buffer is
  // A8R8G8B8. Empty before the first Present and on a device with a window.
  Image presentedImage();
  // Returns once the driver has done every call made so far.
  void finish();
  // OpenGL errors raised since the last call; a correct run has none.
  unsigned takeGlErrors();

private:
  IDirect3DTexture9* newTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                D3DPOOL pool) override;
  IDirect3DVertexBuffer9* newVertexBuffer(const D3DVERTEXBUFFER_DESC& desc) override;
  IDirect3DIndexBuffer9* newIndexBuffer(const D3DINDEXBUFFER_DESC& desc) override;
  IDirect3DSurface9* newDepthStencil(const D3DSURFACE_DESC& desc) override;
  IDirect3DVertexDeclaration9* newDeclaration(std::vector<D3DVERTEXELEMENT9> elements) override;
  bool clearTargets(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                    DWORD stencil) override;
  bool draw(INT base, UINT startIndex, UINT primCount) override;
  void present() override;
  void copy(GlSurface& source, const RECT& from, GlSurface& dest, const RECT& to,
            D3DTEXTUREFILTERTYPE filter) override;
  void targetsChanged() override;
  void streamChanged() override { streamChanged_ = true; }
  void applyRenderState(D3DRENDERSTATETYPE state, DWORD value) override;

  // Puts this device's GL state back when another device used the shared context since.
  void claimContext();
  void setGlState(D3DRENDERSTATETYPE state, DWORD value);
  // Binds the framebuffer with the current colour and depth surfaces; false when GL finds it incomplete.
  bool bindTargets();
  void bindStream();

  std::shared_ptr<GlContext> context_;
  int maxSamples_;
  GlShaderCompiler compiler_;
  GlBlitter blitter_;
  FramebufferName framebuffer_;
  VertexArrayName vertexArray_;
  ColourBuffer front_;
  bool presented_ = false;
  bool targetsChanged_ = true;
  bool targetsComplete_ = false;
  bool streamChanged_ = true;
  unsigned enabledAttributes_ = 0;  // bit per attribute location
};

}  // namespace d3d9::gl
