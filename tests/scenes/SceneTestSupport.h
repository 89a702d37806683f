// Test helper for the scene tests: draws one renderer call straight on the show's trace device
// (bypassing the schedule) and collects its trace lines, and swaps in a silent spectrum for a
// test, putting the recorded one back after.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/scenes/SceneTrace.h"
#include "tests/support/ShowFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"
#include "timeline/SpectrumTrack.h"

namespace scenetest {

inline constexpr const char* kSpectrumPath = "RV07\\syncdata\\fft.txt";

// The frame of a renderer called directly with the show's stages.
template <typename Draw>
SceneFrame drawDirect(Draw&& draw) {
  testsupport::Show& show = testsupport::Show::instance();
  testsupport::TraceCapture capture;
  draw(show);
  return SceneFrame(capture.lines);
}

// The frame the schedule draws at a music time.
inline SceneFrame frameAt(double musicTime) { return SceneFrame(testsupport::Show::instance().frameAt(musicTime)); }

// While it lives every spectrum band reads 0.
class SilentSpectrum {
public:
  SilentSpectrum() {
    testsupport::Show::instance();
    const std::uint32_t header[2] = {9000, 3};
    std::string bytes(sizeof header + std::size_t(9000) * 3 * sizeof(float), '\0');
    std::memcpy(bytes.data(), header, sizeof header);
    loaded = timeline::spectrumTrack().load(dir_.write("silent.txt", bytes).c_str());
  }
  ~SilentSpectrum() { timeline::spectrumTrack().load(kSpectrumPath); }
  SilentSpectrum(const SilentSpectrum&) = delete;
  SilentSpectrum& operator=(const SilentSpectrum&) = delete;

  bool loaded = false;

private:
  testsupport::TempDir dir_;
};

}  // namespace scenetest
