// Test helper: a trace-backend device of a chosen back-buffer size with a failure plan the test
// can arm. Owns the Direct3D object and the device; switches the backend off when it goes.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"

namespace testsupport {

class TraceDeviceHolder {
public:
  explicit TraceDeviceHolder(UINT width = 640, UINT height = 480) {
    d3d9::trace::install({}, failures);
    d3d = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(width, height);
    if (d3d) d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put());
    EXPECT_TRUE(device) << "the trace device could not be created";
  }
  ~TraceDeviceHolder() {
    device.reset();
    d3d.reset();
    d3d9::useBackend({});
  }
  TraceDeviceHolder(const TraceDeviceHolder&) = delete;
  TraceDeviceHolder& operator=(const TraceDeviceHolder&) = delete;

  d3d9::trace::TraceDevice& trace() { return dynamic_cast<d3d9::trace::TraceDevice&>(*device); }
  unsigned invalidCalls() { return trace().invalidCalls(); }

  std::shared_ptr<d3d9::trace::FailurePlan> failures = std::make_shared<d3d9::trace::FailurePlan>();
  d3d9::ComPtr<IDirect3D9> d3d;
  d3d9::ComPtr<IDirect3DDevice9> device;
};

// The reference count of a device object, read without changing it.
inline ULONG referenceCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

}  // namespace testsupport
