// `FloatData`: a keyframe track of single floats, blended linearly. Filled key by key (the
// spectrum track allocates it and writes its keys) or read from a file, where it reports itself as
// `AnimatedFloat`. Owns its keys; main thread only.
#pragma once

#include "assets/KeyTrack.h"

namespace assets {

class FloatData : public KeyTrack<float> {
public:
  // Makes n keys of 0.0. A track that already has keys shows "FloatData Allready In Use" and
  // stays as it was.
  bool allocate(std::uint32_t n);
  // Key i for writing; null past the last key.
  float* key(std::uint32_t i);

  // The AnimatedFloat read: n keys, or a count from the file when n is 0. A track that already has
  // keys shows "AnimatedFloat Allready Allocated" and reads nothing.
  bool read(BinaryReader& in, std::uint32_t n);
  // Takes the keys of a track read elsewhere, under the same rule as read.
  bool adopt(FloatData&& other);

  // No keys: 0. See keyPosition for the rule.
  float sample(float t) const;

private:
  bool refuseWhenFilled() const;
};

using AnimatedFloat = FloatData;

}  // namespace assets
