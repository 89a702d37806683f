// A picture of the CPU time of every frame over the whole show: one dot per frame coloured by its
// renderer, the slots of the show marked and named, the median and 99th-percentile budgets drawn as
// lines. Drawn with the content generator's image, font and PNG writer.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct FrameTime {
  double music = 0.0;    // music time of the frame, seconds
  int renderer = -1;     // timeline::Renderer as an int, -1 for the default frame
  double cpuUs = 0.0;    // thread CPU time of the frame, microseconds
  double wallUs = 0.0;   // wall-clock time of the frame, microseconds
};

// Writes the plot; `caption` is the line of text above it. False when the font or the file cannot
// be used, or there are no frames.
bool writeFrameTimePlot(const std::vector<FrameTime>& frames, const std::string& caption, const std::string& pngPath);

}  // namespace bench
