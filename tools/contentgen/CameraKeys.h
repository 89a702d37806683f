// Camera paths as the .camera files store them: one eye and one target key every 0.1 s from
// time 0. Paths are designed as a few keyframes (resampled linearly or with a time-aware
// Catmull-Rom spline) or as a function of time, then packed for the project's writer.
#pragma once

#include <functional>
#include <vector>

#include "assets/CameraFile.h"
#include "platform/d3dx9/D3DXMath.h"

namespace contentgen {

using Vec3 = D3DXVECTOR3;

struct Keyframe {
  float time;
  Vec3 value;
};

enum class Curve { Linear, CatmullRom };

// `count` values at t = 0, 0.1, 0.2 …; before the first keyframe the first value, after the
// last the last. CatmullRom passes through every keyframe with tangents (p[i+1] − p[i−1]) /
// (t[i+1] − t[i−1]), one-sided at the ends, so unevenly spaced keys keep a steady speed.
std::vector<Vec3> resample(const std::vector<Keyframe>& keys, int count, Curve curve);
// `count` values of a function of time at t = 0, 0.1, 0.2 …
std::vector<Vec3> sampled(int count, const std::function<Vec3(float)>& at);
// Makes the last key equal the first, for paths that loop (a wrap inside a running shot).
void closeLoop(std::vector<Vec3>& keys);

// One camera file: near and far planes, a single field-of-view key, eye and target keys.
assets::CameraFileData cameraFile(float nearPlane, float farPlane, float fov, std::vector<Vec3> eyes,
                                  std::vector<Vec3> targets);

}  // namespace contentgen
