// The show's start-up, written once for the program, the headless commands, the benchmarks and
// the tests: the files it opens, the device made without a window, and the content loaded in the
// program's order (manifest, OrganStage, MainStage, spectrum). ShowContent owns what it loads.
#pragma once

#include <cstdint>
#include <memory>

#include "app/CommandLine.h"
#include "platform/d3d9/d3d9.h"
#include "timeline/MusicStream.h"
#include "timeline/Stages.h"

namespace app {

inline constexpr const char* kMusicPath = "RV07/Vemir-Red Kite.mp3";
inline constexpr const char* kSpectrumPath = "RV07\\syncdata\\fft.txt";
inline constexpr std::uint32_t kSpectrumBands = 5;
// A time past the music's end (280.7 s): a walk over every frame of the show stops here.
inline constexpr double kShowEnd = 281.0;

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

// The device of a headless run on the installed backend: `size`, no window, no vsync, the given
// aspect ratio, with the program's present parameters and surfaces. False when it cannot be made.
bool createHeadlessDevice(Size size, float aspectRatio);

// Where the spectrum track comes from when its file is missing.
enum class SpectrumFallback {
  Zeros,      // every band reads 0 (benchmarks, tests)
  Analysis,   // the music analysed in memory (the headless commands)
  Recording,  // the music played silently once and recorded (the show)
};

// Everything the show draws with, loaded on `device` in the program's order: the renderers get the
// device and the aspect ratio, then the manifest, OrganStage, MainStage and the spectrum track
// (recorded from `music` for SpectrumFallback::Recording); then, given the music and unless the
// recording was cancelled, the music starts at full volume. Destroying it drops MainStage,
// OrganStage, then the manifest; the caller frees the music after it.
class ShowContent {
public:
  ShowContent(IDirect3DDevice9* device, float aspectRatio, SpectrumFallback fallback,
              timeline::MusicStream* music = nullptr);
  ~ShowContent();
  ShowContent(const ShowContent&) = delete;
  ShowContent& operator=(const ShowContent&) = delete;

  // The recording was cancelled with Escape: the show ends without playing.
  bool cancelled() const { return cancelled_; }
  timeline::OrganStage& organ() { return *stages_->organ; }
  timeline::MainStage& main() { return *stages_->main; }

private:
  std::unique_ptr<Stages> stages_;
  bool cancelled_ = false;
};

}  // namespace app
