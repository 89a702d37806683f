// Test helper for whole-frame tests: the program's start-up (ShowContent) on the trace device
// (640 x 480, 4:3) with the generated content, built once per test binary,
// and a call that draws one frame at a music time and returns its trace lines.
// Needs REDKITE_CONTENT_DIR (the build's content folder) defined by the test target.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Frame.h"
#include "app/StartUp.h"
#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "tests/support/TraceCapture.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

namespace testsupport {

class Show {
public:
  static Show& instance() {
    static Show show;
    return show;
  }

  // The trace lines of one frame at `musicTime`, from its "frame" event to its end.
  std::vector<std::string> frameAt(double musicTime) {
    TraceCapture capture;
    app::drawFrame(device.get(), musicTime, *organ, *main);
    return capture.lines;
  }

  d3d9::trace::TraceDevice& traceDevice() { return dynamic_cast<d3d9::trace::TraceDevice&>(*device); }

  // Messages shown while starting up (empty when every asset loaded).
  std::vector<std::string> startUpMessages;
  d3d9::ComPtr<IDirect3D9> d3d;
  d3d9::ComPtr<IDirect3DDevice9> device;
  std::unique_ptr<app::ShowContent> content;
  timeline::OrganStage* organ = nullptr;
  timeline::MainStage* main = nullptr;

private:
  Show() {
    if (::chdir(REDKITE_CONTENT_DIR) != 0) ADD_FAILURE() << "no content folder " << REDKITE_CONTENT_DIR;
    d3d9::trace::install();
    d3d = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(640, 480, 3);
    d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put());
    d3d9::ComPtr<IDirect3DSurface9> depth;
    device->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
    device->SetDepthStencilSurface(depth.get());
    TraceCapture capture;
    testing::internal::CaptureStderr();
    content = std::make_unique<app::ShowContent>(device.get(), 4.0f / 3.0f, app::SpectrumFallback::Zeros);
    organ = &content->organ();
    main = &content->main();
    testing::internal::GetCapturedStderr();
    for (const std::string& line : capture.lines)
      if (line.find("\"messageBox\"") != std::string::npos) startUpMessages.push_back(line);
  }
};

// The lines of `lines` whose event is `ev`.
inline std::vector<std::string> eventsOf(const std::vector<std::string>& lines, std::string_view ev) {
  std::string key = "{\"ev\":\"" + std::string(ev) + "\"";
  std::vector<std::string> found;
  for (const std::string& line : lines)
    if (line.rfind(key, 0) == 0) found.push_back(line);
  return found;
}

}  // namespace testsupport
