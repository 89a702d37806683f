// What the three keyframe tracks share: keys 0.1 s apart, the first at time 0, held in an owned
// array; reading from and writing to the asset files; where a time falls among the keys.
// Plain values; main thread only.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "assets/BinaryFile.h"

namespace assets {

constexpr float kKeysPerSecond = 10.0f;

// Key `index`, blended toward key index + 1 with `weight` when `blend` is set.
struct KeyPosition {
  std::uint32_t index = 0;
  float weight = 0.0f;
  bool blend = false;
};

// Sampling rule for a track of `count` (> 0) keys: u = t × 10 as a float, i = u truncated; keys i
// and i + 1 blended by u − i while i + 2 ≤ count, otherwise the last key (so a track holds its last
// key for ever, and a NaN time holds it too). A negative t gives key 0 unblended: the rule as
// written would read before the first key.
KeyPosition keyPosition(float t, std::uint32_t count);

template <typename Key>
class KeyTrack {
public:
  std::uint32_t count() const { return static_cast<std::uint32_t>(keys_.size()); }
  bool empty() const { return keys_.empty(); }
  std::span<const Key> keys() const { return keys_; }
  void setKeys(std::vector<Key> keys) { keys_ = std::move(keys); }
  // Frees the keys; the count becomes 0.
  void clear() { keys_ = {}; }

  // Reads `n` keys, or when n is 0 a 32-bit count and then that many. A count the rest of the
  // file cannot hold, or a short file, gives false and leaves the track as it was.
  bool read(BinaryReader& in, std::uint32_t n) {
    std::uint32_t count = n;
    if (count == 0 && !in.value(count)) return false;
    if (!in.holds(count, sizeof(Key))) return false;
    std::vector<Key> keys(count);
    if (!in.bytes(keys.data(), std::uint64_t(count) * sizeof(Key))) return false;
    keys_ = std::move(keys);
    return true;
  }

  // Writes the keys, preceded by their count when `withCount`.
  void write(BinaryWriter& out, bool withCount) const {
    if (withCount) out.value(count());
    out.bytes(keys_.data(), std::uint64_t(keys_.size()) * sizeof(Key));
  }

protected:
  std::vector<Key> keys_;
};

}  // namespace assets
