// The .mesh files of the show, in four groups: sky domes and the cave (shared by several scenes),
// the third scene's organ stage, the terrains (noise fields, valley, hills), and the eighth
// scene's floor and sphere. Each writer puts its files through `out`.
#pragma once

#include "tools/contentgen/Output.h"

namespace contentgen {

void writeSkyAndCaveMeshes(Output& out);
void writeOrganMeshes(Output& out);
void writeTerrainMeshes(Output& out);
void writeEndorfMeshes(Output& out);

}  // namespace contentgen
