// The Direct3D object as every backend answers it: adapter 0 only, its modes filtered by format,
// the multisample query and device creation's argument checks. The backend says what its adapter
// has and makes the device; it owns whatever it needs for that.
#pragma once

#include <vector>

#include "platform/d3d9/Resources.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/trace/FailurePlan.h"

namespace d3d9 {

class CheckedDirect3D : public RefCounted<IDirect3D9> {
public:
  UINT GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) final;
  HRESULT EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) final;
  HRESULT CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE DeviceType, D3DFORMAT SurfaceFormat, BOOL Windowed,
                                     D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) final;
  HRESULT GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) final;
  HRESULT GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) final;
  HRESULT CreateDevice(UINT Adapter, D3DDEVTYPE DeviceType, HWND hFocusWindow, DWORD BehaviorFlags,
                       D3DPRESENT_PARAMETERS* pPresentationParameters,
                       IDirect3DDevice9** ppReturnedDeviceInterface) final;

protected:
  virtual std::vector<D3DDISPLAYMODE> modes() = 0;
  virtual D3DDISPLAYMODE desktopMode() = 0;
  virtual bool multisampleSupported(D3DMULTISAMPLE_TYPE type) = 0;
  virtual bool hardwareTransform() { return true; }
  virtual HRESULT failure(trace::Call) { return D3D_OK; }
  // Called once the shared checks passed; `window` is where pictures go (the device window when
  // given, else the focus window). Sets `device`, or returns why not.
  virtual HRESULT newDevice(HWND window, const D3DPRESENT_PARAMETERS& params, IDirect3DDevice9*& device) = 0;

private:
  std::vector<D3DDISPLAYMODE> modesOf(D3DFORMAT format);
};

}  // namespace d3d9
