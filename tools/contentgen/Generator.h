// The whole content run: every group of textures, meshes, camera paths and the music with its
// spectrum file, written under one root folder, with a progress line per group on standard
// output. Deterministic: the same root gets the same bytes on every run.
#pragma once

#include <string>

namespace contentgen {

// Which kinds of content to write (all by default).
struct GenerateOptions {
  bool textures = true;
  bool meshes = true;
  bool cameras = true;
  bool music = true;  // the placeholder soundtrack and its spectrum file (the slowest group)
};

// False when any file could not be written (each failure is reported on standard error).
bool generateContent(const std::string& root, const GenerateOptions& options);

}  // namespace contentgen
