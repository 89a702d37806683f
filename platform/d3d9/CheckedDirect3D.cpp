// Adapter queries and device creation's checks, shared by the backends.
#include "platform/d3d9/CheckedDirect3D.h"

namespace d3d9 {

std::vector<D3DDISPLAYMODE> CheckedDirect3D::modesOf(D3DFORMAT format) {
  std::vector<D3DDISPLAYMODE> matching;
  for (const D3DDISPLAYMODE& mode : modes())
    if (mode.Format == format) matching.push_back(mode);
  return matching;
}

UINT CheckedDirect3D::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) {
  return Adapter == 0 ? static_cast<UINT>(modesOf(Format).size()) : 0;
}

HRESULT CheckedDirect3D::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  auto matching = modesOf(Format);
  if (Mode >= matching.size()) return D3DERR_INVALIDCALL;
  *pMode = matching[Mode];
  return D3D_OK;
}

HRESULT CheckedDirect3D::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE, D3DFORMAT, BOOL,
                                                    D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) {
  if (Adapter != 0) return D3DERR_INVALIDCALL;
  bool supported = MultiSampleType == D3DMULTISAMPLE_NONE || multisampleSupported(MultiSampleType);
  if (pQualityLevels) *pQualityLevels = supported ? 1 : 0;
  return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT CheckedDirect3D::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  *pMode = desktopMode();
  return D3D_OK;
}

HRESULT CheckedDirect3D::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
  if (Adapter != 0 || !pCaps) return D3DERR_INVALIDCALL;
  *pCaps = D3DCAPS9{DeviceType, Adapter, hardwareTransform() ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0u, 8192, 8192};
  return D3D_OK;
}

HRESULT CheckedDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE, HWND hFocusWindow, DWORD BehaviorFlags,
                                      D3DPRESENT_PARAMETERS* pPresentationParameters,
                                      IDirect3DDevice9** ppReturnedDeviceInterface) {
  if (!ppReturnedDeviceInterface) return D3DERR_INVALIDCALL;
  *ppReturnedDeviceInterface = nullptr;
  if (HRESULT hr = failure(trace::Call::CreateDevice); FAILED(hr)) return hr;
  bool oneProcessing = !(BehaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) !=
                       !(BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  if (Adapter != 0 || !pPresentationParameters || !oneProcessing) return D3DERR_INVALIDCALL;
  const D3DPRESENT_PARAMETERS& pp = *pPresentationParameters;
  if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0) return D3DERR_INVALIDCALL;
  return newDevice(pp.hDeviceWindow ? pp.hDeviceWindow : hFocusWindow, pp, *ppReturnedDeviceInterface);
}

}  // namespace d3d9
