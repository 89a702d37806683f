// FloatData: allocation, the AnimatedFloat read and linear sampling.
#include "assets/FloatData.h"

#include "platform/win32/MessageBox.h"

namespace assets {
namespace {

constexpr const char* kInUseText = "FloatData Allready In Use";
constexpr const char* kInUseCaption = "Dickhead";
constexpr const char* kAllocatedText = "AnimatedFloat Allready Allocated";
constexpr const char* kAllocatedCaption = "Float Anim";

}  // namespace

bool FloatData::allocate(std::uint32_t n) {
  if (!keys_.empty()) {
    MessageBoxA(nullptr, kInUseText, kInUseCaption, MB_OK);
    return false;
  }
  keys_.assign(n, 0.0f);
  return true;
}

float* FloatData::key(std::uint32_t i) { return i < keys_.size() ? &keys_[i] : nullptr; }

bool FloatData::refuseWhenFilled() const {
  if (keys_.empty()) return false;
  MessageBoxA(nullptr, kAllocatedText, kAllocatedCaption, MB_OK);
  return true;
}

bool FloatData::read(BinaryReader& in, std::uint32_t n) {
  if (refuseWhenFilled()) return false;
  return KeyTrack<float>::read(in, n);
}

bool FloatData::adopt(FloatData&& other) {
  if (refuseWhenFilled()) return false;
  keys_ = std::move(other.keys_);
  other.keys_ = {};
  return true;
}

float FloatData::sample(float t) const {
  if (keys_.empty()) return 0.0f;
  KeyPosition at = keyPosition(t, count());
  float k = keys_[at.index];
  if (!at.blend) return k;
  return k + at.weight * (keys_[at.index + 1] - k);
}

}  // namespace assets
