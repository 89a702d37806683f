// The device of a headless run and the show's content in load order.
#include "app/StartUp.h"

#include "app/AppWindow.h"
#include "app/SpectrumCommand.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "timeline/Manifest.h"
#include "timeline/SpectrumTrack.h"

namespace app {

void useDeviceForRendering() {
  render::setDevice(deviceState().device.get());
  render::setDisplayAspect(displaySettings().aspectRatio);
}

bool createHeadlessDevice(Size size, float aspectRatio) {
  DeviceState& state = deviceState();
  *state.d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
  DisplaySettings& settings = displaySettings();
  settings.width = size.width;
  settings.height = size.height;
  settings.format = D3DFMT_X8R8G8B8;
  settings.vsync = false;
  settings.aspectRatio = aspectRatio;
  return state.d3d && createDevice(nullptr);
}

ShowContent::ShowContent(IDirect3DDevice9* device, float aspectRatio, SpectrumFallback fallback,
                         timeline::MusicStream* music) {
  render::setDevice(device);
  render::setDisplayAspect(aspectRatio);
  timeline::loadManifest();
  stages_ = std::make_unique<Stages>();
  timeline::SpectrumTrack& spectrum = timeline::spectrumTrack();
  switch (fallback) {
    case SpectrumFallback::Zeros:
      spectrum.load(kSpectrumPath);
      break;
    case SpectrumFallback::Analysis:
      loadHeadlessSpectrum();
      break;
    case SpectrumFallback::Recording:
      cancelled_ = spectrum.loadOrRecord(kSpectrumPath, music ? music->channel() : 0, kSpectrumBands, 0.0f) ==
                   timeline::SpectrumSource::Cancelled;
      break;
  }
  if (music && !cancelled_) music->start();
}

ShowContent::~ShowContent() {
  stages_.reset();
  timeline::releaseManifest();
}

}  // namespace app
