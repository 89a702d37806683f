// The .camera files of the show: the first half (opening, second, third and fourth scenes) and
// the second half (fifth to ninth scenes). Each path is long enough for every time its scene
// samples and frames that scene's action.
#pragma once

#include "tools/contentgen/Output.h"

namespace contentgen {

void writeEarlyCameras(Output& out);
void writeLateCameras(Output& out);

}  // namespace contentgen
