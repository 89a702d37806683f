// The OpenGL backend's Direct3D object: adapter 0's modes, caps and multisample types as the place
// pictures go reports them (the display, or a fixed list headless), and device creation on that
// place's context. It owns its context provider. Main thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d9/CheckedDirect3D.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlResources.h"

namespace d3d9::gl {

class GlDirect3D final : public CheckedDirect3D {
public:
  explicit GlDirect3D(std::unique_ptr<ContextProvider> provider);

private:
  std::vector<D3DDISPLAYMODE> modes() override { return provider_->modes(); }
  D3DDISPLAYMODE desktopMode() override { return provider_->desktopMode(); }
  bool multisampleSupported(D3DMULTISAMPLE_TYPE type) override;
  HRESULT newDevice(HWND window, const D3DPRESENT_PARAMETERS& params, IDirect3DDevice9*& device) override;

  std::unique_ptr<ContextProvider> provider_;
};

}  // namespace d3d9::gl
