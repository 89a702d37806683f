// The trace backend: a Direct3D object and device with no GPU. Resources keep their bytes in
// memory; every frame and drawing call appends one line to the frame trace and is checked as the
// debug runtime would check it. `install` makes Direct3DCreate9 build this backend.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d9/CheckedDevice.h"
#include "platform/d3d9/CheckedDirect3D.h"
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

// Scans every draw's indices: the point of this backend is to catch what a GPU would let pass.
class TraceDevice final : public CheckedDevice<TraceSurface, TraceVertexBuffer, TraceIndexBuffer, TraceVertexDeclaration> {
public:
  TraceDevice(const D3DPRESENT_PARAMETERS& params, std::shared_ptr<FailurePlan> failures);

  // No shaders run here; a test may lend a compiler to watch what the effect framework uploads.
  ShaderCompiler* GetShaderCompiler() override { return shaderCompiler_; }
  void lendShaderCompiler(ShaderCompiler* compiler) { shaderCompiler_ = compiler; }

private:
  HRESULT failure(Call call) override { return failures_->next(call); }
  IDirect3DTexture9* newTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                D3DPOOL pool) override {
    return new TraceTexture(width, height, levels, usage, format, pool);
  }
  IDirect3DVertexBuffer9* newVertexBuffer(const D3DVERTEXBUFFER_DESC& d) override { return new TraceVertexBuffer(d); }
  IDirect3DIndexBuffer9* newIndexBuffer(const D3DINDEXBUFFER_DESC& d) override { return new TraceIndexBuffer(d); }
  IDirect3DSurface9* newDepthStencil(const D3DSURFACE_DESC& d) override { return new TraceSurface(d, nullptr); }
  IDirect3DVertexDeclaration9* newDeclaration(std::vector<D3DVERTEXELEMENT9> elements) override {
    return new TraceVertexDeclaration(std::move(elements));
  }
  bool clearTargets(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return true; }
  bool draw(INT, UINT, UINT) override { return true; }
  void present() override {}
  void copy(TraceSurface&, const RECT&, TraceSurface&, const RECT&, D3DTEXTUREFILTERTYPE) override {}

  std::shared_ptr<FailurePlan> failures_;
  ShaderCompiler* shaderCompiler_ = nullptr;
};

class TraceDirect3D final : public CheckedDirect3D {
public:
  TraceDirect3D(AdapterConfig config, std::shared_ptr<FailurePlan> failures);

private:
  std::vector<D3DDISPLAYMODE> modes() override { return config_.modes; }
  D3DDISPLAYMODE desktopMode() override { return config_.desktop; }
  bool multisampleSupported(D3DMULTISAMPLE_TYPE type) override;
  bool hardwareTransform() override { return config_.hardwareTransform; }
  HRESULT failure(Call call) override { return failures_->next(call); }
  HRESULT newDevice(HWND window, const D3DPRESENT_PARAMETERS& params, IDirect3DDevice9*& device) override;

  AdapterConfig config_;
  std::shared_ptr<FailurePlan> failures_;
};

// Makes Direct3DCreate9 build trace objects with this adapter and failure plan.
void install(AdapterConfig config = {}, std::shared_ptr<FailurePlan> failures = std::make_shared<FailurePlan>());

}  // namespace d3d9::trace
