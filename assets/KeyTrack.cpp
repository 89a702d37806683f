// The sampling position shared by all keyframe tracks.
#include "assets/KeyTrack.h"

namespace assets {

KeyPosition keyPosition(float t, std::uint32_t count) {
  const KeyPosition last{count - 1, 0.0f, false};
  float u = t * kKeysPerSecond;
  if (u < 0.0f) return {};
  // Past every index a 32-bit count can reach, or NaN: the last key.
  if (!(u < 4294967296.0f)) return last;
  auto i = static_cast<std::uint32_t>(u);
  if (std::uint64_t(i) + 2 > count) return last;
  return {i, u - static_cast<float>(i), true};
}

}  // namespace assets
