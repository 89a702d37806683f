// The trace device's objects, and the trace Direct3D object: adapter queries and device creation.
#include "platform/d3d9/trace/TraceDevice.h"

#include <algorithm>

#include "platform/d3d9/Backend.h"

namespace d3d9::trace {

TraceDevice::TraceDevice(const D3DPRESENT_PARAMETERS& params, std::shared_ptr<FailurePlan> failures)
    : CheckedDevice(params, CheckOptions{.scanIndices = true}), failures_(std::move(failures)) {
  D3DSURFACE_DESC desc{params.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                       params.MultiSampleType,  params.MultiSampleQuality, params.BackBufferWidth,
                       params.BackBufferHeight};
  useBackBuffer(new TraceSurface(desc, nullptr));
}

// ---------------------------------------------------------------------------------------------
// Direct3D object

TraceDirect3D::TraceDirect3D(AdapterConfig config, std::shared_ptr<FailurePlan> failures)
    : config_(std::move(config)), failures_(std::move(failures)) {}

bool TraceDirect3D::multisampleSupported(D3DMULTISAMPLE_TYPE type) {
  return std::find(config_.multisample.begin(), config_.multisample.end(), type) != config_.multisample.end();
}

HRESULT TraceDirect3D::newDevice(HWND, const D3DPRESENT_PARAMETERS& params, IDirect3DDevice9*& device) {
  device = new TraceDevice(params, failures_);
  return D3D_OK;
}

void install(AdapterConfig config, std::shared_ptr<FailurePlan> failures) {
  useBackend([config = std::move(config), failures = std::move(failures)]() -> IDirect3D9* {
    return new TraceDirect3D(config, failures);
  });
}

}  // namespace d3d9::trace
