// `CameraPath`: a `Camera` with its eye, target and field-of-view tracks, filled from a .camera
// file. Owned by the scene-state objects; sampled by render/ once per frame. Main thread only.
#pragma once

#include "assets/Camera.h"
#include "assets/FloatData.h"
#include "assets/VectorTrack.h"
#include "platform/d3d9/d3d9.h"

namespace assets {

struct CameraPath {
  Camera camera;
  VectorTrack eyeTrack;
  VectorTrack targetTrack;
  FloatData fovTrack;  // filled as AnimatedFloat

  // Reads near, far and the three tracks. A file that cannot be opened, or is shorter than its
  // counts say, shows the path with caption "Fopen()" and leaves the path as it was. A path whose
  // fov track already has keys keeps them, after the "AnimatedFloat Allready Allocated" message.
  bool load(const char* path);
};

}  // namespace assets
