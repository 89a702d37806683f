// `redkite render --sheet FILE.png`: one frame of every renderer of the show in a grid, each
// labelled with its music time and renderer name. Picking the times and laying out the sheet are
// plain functions; the frames come from the headless renderer.
#pragma once

#include <string>
#include <vector>

#include "platform/d3d9/gl/Image.h"
#include "timeline/Schedule.h"

namespace app {

struct SheetEntry {
  double musicTime;
  timeline::Renderer renderer;
};

// For every renderer that runs between 0 and `end`, the middle of the first stretch of time in
// which the schedule picks it (sampled every `step` seconds), in show order.
std::vector<SheetEntry> pickSheetTimes(const timeline::SpectrumTrack& spectrum, double end, double step = 0.05);

// The frames side by side, `columns` to a row, each with its label under a dark strip.
d3d9::gl::Image composeSheet(const std::vector<d3d9::gl::Image>& frames, const std::vector<std::string>& labels,
                             unsigned columns);

int runContactSheet(const struct Options& options);

}  // namespace app
