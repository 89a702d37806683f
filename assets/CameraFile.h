// The .camera file format: near and far planes, the field-of-view track with its own count, then
// the eye and target tracks sharing one key count K (K = 0: each with its own count). Little-endian,
// no padding. readCameraFile checks every count against what the file can still hold before it
// allocates; writeCameraFile writes the same layout. Plain data; main thread only.
#pragma once

#include "assets/FloatData.h"
#include "assets/VectorTrack.h"

namespace assets {

struct CameraFileData {
  float nearPlane = 1.0f;
  float farPlane = 10000.0f;
  FloatData fov;  // radians, before the 0.8 factor of camera sampling
  VectorTrack eye;
  VectorTrack target;
};

// Reads a whole .camera file. False when it cannot be opened or is shorter than its counts say;
// `out` is then left as it was. Bytes after the target keys are ignored.
bool readCameraFile(const char* path, CameraFileData& out);

// Writes `data`; eye and target share K when they have the same non-zero count, otherwise K = 0
// and each has its own count. False when the file cannot be written.
bool writeCameraFile(const char* path, const CameraFileData& data);

}  // namespace assets
