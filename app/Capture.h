// `redkite capture`: the show drawn headless at a fixed frame rate, frame i at from + i / fps, the
// frames piped as raw pixels to an ffmpeg process that encodes H.264 and muxes the music of the
// same interval, so picture and sound stay in sync to the frame.
#pragma once

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace app {

int runCapture(const Options& options);

// The ffmpeg command line for a capture (program name first); it writes "<out>.part", which the
// capture renames to `out` once the file is whole.
std::vector<std::string> ffmpegArguments(const Options& options, Size size, double from, double duration,
                                         bool withMusic);

// Whether the MP4 file at `path` is whole: its top-level boxes fill the file exactly and include
// the index (moov) and the media (mdat); otherwise false with the reason.
bool mp4IsWhole(const std::string& path, std::string& reason);

// The music times of a capture: from + i / fps for every frame that starts before `to`.
std::vector<double> captureTimes(double from, double to, unsigned fps);

}  // namespace app
