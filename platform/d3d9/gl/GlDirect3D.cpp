// What the OpenGL adapter offers, and device creation on a context from its provider.
#include "platform/d3d9/gl/GlDirect3D.h"

#include <cstdio>
#include <string>

#include "platform/d3d9/gl/GlDevice.h"

namespace d3d9::gl {

GlDirect3D::GlDirect3D(std::unique_ptr<ContextProvider> provider) : provider_(std::move(provider)) {}

// Every sample count from 2 up to GL_MAX_SAMPLES; GL picks the nearest count it has at or above.
bool GlDirect3D::multisampleSupported(D3DMULTISAMPLE_TYPE type) {
  return sampleCountOf(type, provider_->maxSamples()) >= 0;
}

HRESULT GlDirect3D::newDevice(HWND window, const D3DPRESENT_PARAMETERS& params, IDirect3DDevice9*& device) {
  D3DFORMAT format = params.BackBufferFormat;
  bool formatOk = format == D3DFMT_UNKNOWN || format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
  int maxSamples = provider_->maxSamples();
  int samples = sampleCountOf(params.MultiSampleType, maxSamples);
  if (!formatOk || samples < 0) return D3DERR_INVALIDCALL;
  std::string error;
  auto context = provider_->contextFor(window, error);
  if (!context) {
    std::fprintf(stderr, "d3d9 gl: CreateDevice: %s\n", error.c_str());
    return D3DERR_NOTAVAILABLE;
  }
  device = new GlDevice(std::move(context), params, samples, maxSamples);
  return D3D_OK;
}

}  // namespace d3d9::gl
