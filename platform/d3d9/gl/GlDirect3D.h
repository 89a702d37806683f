// The OpenGL backend's Direct3D object: adapter 0's modes, caps and multisample types as the place
// pictures go reports them (the display, or a fixed list headless), and device creation on that
// place's context. It owns its context provider. Main thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlResources.h"

namespace d3d9::gl {

class GlDirect3D final : public RefCounted<IDirect3D9> {
public:
  explicit GlDirect3D(std::unique_ptr<ContextProvider> provider);

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
  std::vector<D3DDISPLAYMODE> modesOf(D3DFORMAT format);
  std::unique_ptr<ContextProvider> provider_;
};

}  // namespace d3d9::gl
