// Headless start-up and the frame walk.
#include "app/Headless.h"

#include "app/AppWindow.h"
#include "app/Frame.h"
#include "app/StartUp.h"

namespace app {

bool drawHeadless(const Options& options, Size size, const std::vector<double>& times,
                  const std::function<bool(double)>& afterFrame) {
  if (!createHeadlessDevice(size, options.aspect.value_or(kDefaultAspectRatio))) return false;
  IDirect3DDevice9* device = deviceState().device.get();
  // Headless runs never record: without the spectrum file the music is analysed in memory.
  ShowContent content(device, displaySettings().aspectRatio, SpectrumFallback::Analysis);
  for (double t : times) {
    drawFrame(device, t, content.organ(), content.main());
    if (!afterFrame(t)) break;
  }
  return true;
}

}  // namespace app
