// Keyframe resampling for camera paths.
#include "tools/contentgen/CameraKeys.h"

#include <algorithm>

namespace contentgen {
namespace {

Vec3 tangent(const std::vector<Keyframe>& k, std::size_t i) {
  std::size_t lo = i == 0 ? 0 : i - 1, hi = std::min(i + 1, k.size() - 1);
  float dt = k[hi].time - k[lo].time;
  return dt > 0.0f ? (k[hi].value - k[lo].value) / dt : Vec3{};
}

Vec3 hermite(const Keyframe& a, const Keyframe& b, const Vec3& ma, const Vec3& mb, float t) {
  float h = b.time - a.time;
  float s = (t - a.time) / h, s2 = s * s, s3 = s2 * s;
  return a.value * (2 * s3 - 3 * s2 + 1) + ma * (h * (s3 - 2 * s2 + s)) + b.value * (-2 * s3 + 3 * s2) +
         mb * (h * (s3 - s2));
}

Vec3 at(const std::vector<Keyframe>& keys, float t, Curve curve) {
  if (t <= keys.front().time) return keys.front().value;
  if (t >= keys.back().time) return keys.back().value;
  std::size_t i = 0;
  while (i + 2 < keys.size() && t >= keys[i + 1].time) ++i;
  const Keyframe &a = keys[i], &b = keys[i + 1];
  if (curve == Curve::Linear) return a.value + (b.value - a.value) * ((t - a.time) / (b.time - a.time));
  return hermite(a, b, tangent(keys, i), tangent(keys, i + 1), t);
}

}  // namespace

std::vector<Vec3> resample(const std::vector<Keyframe>& keys, int count, Curve curve) {
  return sampled(count, [&](float t) { return at(keys, t, curve); });
}

std::vector<Vec3> sampled(int count, const std::function<Vec3(float)>& f) {
  std::vector<Vec3> out;
  out.reserve(std::size_t(count));
  for (int k = 0; k < count; ++k) out.push_back(f(float(k) / 10.0f));
  return out;
}

void closeLoop(std::vector<Vec3>& keys) {
  if (!keys.empty()) keys.back() = keys.front();
}

assets::CameraFileData cameraFile(float nearPlane, float farPlane, float fov, std::vector<Vec3> eyes,
                                  std::vector<Vec3> targets) {
  assets::CameraFileData data;
  data.nearPlane = nearPlane;
  data.farPlane = farPlane;
  data.fov.setKeys({fov});
  data.eye.setKeys(std::move(eyes));
  data.target.setKeys(std::move(targets));
  return data;
}

}  // namespace contentgen
