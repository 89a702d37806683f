// The program's entry points: the show itself (dialog, window, music, frame loop) and the
// headless trace of chosen music times. Each returns the process exit code.
#pragma once

#include "app/CommandLine.h"

namespace app {

// 0 when the dialog was left or the window or device could not be made, 1 after a run.
int runShow(const Options& options);

// Draws each of options.times on the trace device and writes the frame trace to options.out.
int runTrace(const Options& options);

// Draws each of options.times headless on OpenGL and writes one PNG per time into options.out.
int runRender(const Options& options);

}  // namespace app
