// The display choices of the setup dialog (or the command line): mode, fullscreen, vsync,
// multisampling and the aspect ratio of every perspective projection. One global record, written
// once before the window opens and read by the window, the device and the projections.
#pragma once

#include "platform/d3d9/d3d9.h"

namespace app {

constexpr float kDefaultAspectRatio = 1.3333334f;

struct DisplaySettings {
  UINT width = 0;
  UINT height = 0;
  UINT refreshRate = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  bool fullscreen = false;
  bool vsync = true;
  D3DMULTISAMPLE_TYPE multiSampleType = D3DMULTISAMPLE_NONE;
  float aspectRatio = kDefaultAspectRatio;
};

DisplaySettings& displaySettings();

}  // namespace app
