// Headless runs (render, capture, trace) on the backend already installed: a device of the given
// size without window or dialog, the manifest, both stages and the spectrum file, then one frame
// per music time in order.
#pragma once

#include <functional>
#include <vector>

#include "app/CommandLine.h"

namespace app {

// Draws each time and calls afterFrame(t) after it; stops early when afterFrame returns false.
// False when the device could not be made.
bool drawHeadless(const Options& options, Size size, const std::vector<double>& times,
                  const std::function<bool(double)>& afterFrame);

}  // namespace app
