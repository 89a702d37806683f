// The spectrum file without playing the music: `redkite spectrum` writes it from the decoded MP3,
// and the headless commands analyse the music in memory when the file is missing.
#pragma once

#include "app/CommandLine.h"

namespace app {

// `redkite spectrum [--music FILE] [--out FILE]`: 0 when written, 2 for music that cannot be read
// or decoded or an output that cannot be opened, 1 when a write fails.
int runSpectrum(const Options& options);

// The headless commands' spectrum: the content's file, or, when it is missing, the same analysis
// of the content's music made in memory; when neither can be had every band reads 0 (and it says so).
// A track already loaded is kept.
void loadHeadlessSpectrum();

}  // namespace app
