// Headless start-up and the frame walk.
#include "app/Headless.h"

#include <cstdio>

#include "app/AppWindow.h"
#include "app/Frame.h"
#include "app/SpectrumCommand.h"
#include "app/StartUp.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace app {

void useDeviceForRendering() {
  render::setDevice(deviceState().device.get());
  render::setDisplayAspect(displaySettings().aspectRatio);
}

bool drawHeadless(const Options& options, Size size, const std::vector<double>& times,
                  const std::function<bool(double)>& afterFrame) {
  DeviceState& state = deviceState();
  *state.d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
  DisplaySettings& settings = displaySettings();
  settings.width = size.width;
  settings.height = size.height;
  settings.format = D3DFMT_X8R8G8B8;
  settings.vsync = false;
  settings.aspectRatio = options.aspect.value_or(kDefaultAspectRatio);
  if (!state.d3d || !createDevice(nullptr)) return false;
  useDeviceForRendering();
  timeline::loadManifest();
  {
    Stages stages;
    // Headless runs never record: without the spectrum file the music is analysed in memory.
    loadHeadlessSpectrum();
    for (double t : times) {
      drawFrame(state.device.get(), t, *stages.organ, *stages.main);
      if (!afterFrame(t)) break;
    }
  }
  timeline::releaseManifest();
  return true;
}

}  // namespace app
