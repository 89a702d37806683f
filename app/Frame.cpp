// Frame dispatch: the schedule decides, the scenes draw.
#include "app/Frame.h"

#include "platform/trace/FrameTrace.h"
#include "scenes/Renderers.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace app {

void drawDefaultFrame(IDirect3DDevice9* device) {
  trace::frameTrace().event("default");
  device->BeginScene();
  device->Clear(0, nullptr, D3DCLEAR_TARGET, kDefaultFrameColour, 1.0f, 0);
  device->EndScene();
}

void drawFrame(IDirect3DDevice9* device, double musicTime, timeline::OrganStage& organ, timeline::MainStage& main) {
  trace::frameTrace().event("frame").num("music", musicTime);
  if (auto call = timeline::scheduleFor(musicTime, timeline::spectrumTrack())) {
    scenes::drawScene(*call, organ, main);
  } else {
    drawDefaultFrame(device);
  }
}

}  // namespace app
