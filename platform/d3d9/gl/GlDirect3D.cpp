// Adapter queries and device creation of the OpenGL backend.
#include "platform/d3d9/gl/GlDirect3D.h"

#include <cstdio>
#include <string>

#include "platform/d3d9/gl/GlDevice.h"

namespace d3d9::gl {

GlDirect3D::GlDirect3D(std::unique_ptr<ContextProvider> provider) : provider_(std::move(provider)) {}

std::vector<D3DDISPLAYMODE> GlDirect3D::modesOf(D3DFORMAT format) {
  std::vector<D3DDISPLAYMODE> modes;
  for (const D3DDISPLAYMODE& mode : provider_->modes())
    if (mode.Format == format) modes.push_back(mode);
  return modes;
}

UINT GlDirect3D::GetAdapterModeCount(UINT Adapter, D3DFORMAT Format) {
  return Adapter == 0 ? static_cast<UINT>(modesOf(Format).size()) : 0;
}

HRESULT GlDirect3D::EnumAdapterModes(UINT Adapter, D3DFORMAT Format, UINT Mode, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  auto modes = modesOf(Format);
  if (Mode >= modes.size()) return D3DERR_INVALIDCALL;
  *pMode = modes[Mode];
  return D3D_OK;
}

// Every sample count from 2 up to GL_MAX_SAMPLES; GL picks the nearest count it has at or above.
HRESULT GlDirect3D::CheckDeviceMultiSampleType(UINT Adapter, D3DDEVTYPE, D3DFORMAT, BOOL,
                                               D3DMULTISAMPLE_TYPE MultiSampleType, DWORD* pQualityLevels) {
  if (Adapter != 0) return D3DERR_INVALIDCALL;
  bool supported = sampleCountOf(MultiSampleType, provider_->maxSamples()) >= 0;
  if (pQualityLevels) *pQualityLevels = supported ? 1 : 0;
  return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT GlDirect3D::GetAdapterDisplayMode(UINT Adapter, D3DDISPLAYMODE* pMode) {
  if (Adapter != 0 || !pMode) return D3DERR_INVALIDCALL;
  *pMode = provider_->desktopMode();
  return D3D_OK;
}

// Every OpenGL 3.3 driver transforms vertices on the GPU (or, for llvmpipe, in its own vertex code).
HRESULT GlDirect3D::GetDeviceCaps(UINT Adapter, D3DDEVTYPE DeviceType, D3DCAPS9* pCaps) {
  if (Adapter != 0 || !pCaps) return D3DERR_INVALIDCALL;
  *pCaps = D3DCAPS9{DeviceType, Adapter, D3DDEVCAPS_HWTRANSFORMANDLIGHT, 8192, 8192};
  return D3D_OK;
}

HRESULT GlDirect3D::CreateDevice(UINT Adapter, D3DDEVTYPE, HWND hFocusWindow, DWORD BehaviorFlags,
                                 D3DPRESENT_PARAMETERS* pPresentationParameters,
                                 IDirect3DDevice9** ppReturnedDeviceInterface) {
  if (!ppReturnedDeviceInterface) return D3DERR_INVALIDCALL;
  *ppReturnedDeviceInterface = nullptr;
  bool oneProcessing = !(BehaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) !=
                       !(BehaviorFlags & D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  if (Adapter != 0 || !pPresentationParameters || !oneProcessing) return D3DERR_INVALIDCALL;
  const D3DPRESENT_PARAMETERS& pp = *pPresentationParameters;
  D3DFORMAT format = pp.BackBufferFormat;
  bool formatOk = format == D3DFMT_UNKNOWN || format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
  int maxSamples = provider_->maxSamples();
  int samples = sampleCountOf(pp.MultiSampleType, maxSamples);
  if (pp.BackBufferWidth == 0 || pp.BackBufferHeight == 0 || !formatOk || samples < 0) return D3DERR_INVALIDCALL;

  // The presentation window, as Direct3D picks it: the device window when given, else the focus window.
  std::string error;
  auto context = provider_->contextFor(pp.hDeviceWindow ? pp.hDeviceWindow : hFocusWindow, error);
  if (!context) {
    std::fprintf(stderr, "d3d9 gl: CreateDevice: %s\n", error.c_str());
    return D3DERR_NOTAVAILABLE;
  }
  *ppReturnedDeviceInterface = new GlDevice(std::move(context), pp, samples, maxSamples);
  return D3D_OK;
}

}  // namespace d3d9::gl
