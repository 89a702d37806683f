// What every way of running the show starts the same way: the files it opens, the scene-state
// objects built after the manifest, and handing the device and aspect ratio to the renderers.
#pragma once

#include <cstdint>
#include <memory>

#include "timeline/Stages.h"

namespace app {

inline constexpr const char* kMusicPath = "RV07/Vemir-Red Kite.mp3";
inline constexpr const char* kSpectrumPath = "RV07\\syncdata\\fft.txt";
inline constexpr std::uint32_t kSpectrumBands = 5;

// The scene-state objects, OrganStage first; MainStage goes first at shutdown.
struct Stages {
  std::unique_ptr<timeline::OrganStage> organ = std::make_unique<timeline::OrganStage>();
  std::unique_ptr<timeline::MainStage> main = std::make_unique<timeline::MainStage>();
  ~Stages() {
    main.reset();
    organ.reset();
  }
};

// The renderers draw with the app's device and project with the chosen aspect ratio.
void useDeviceForRendering();

}  // namespace app
