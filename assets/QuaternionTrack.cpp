// QuaternionTrack sampling.
#include "assets/QuaternionTrack.h"

namespace assets {

D3DXQUATERNION QuaternionTrack::sample(float t) const {
  if (keys_.empty()) return {};
  KeyPosition at = keyPosition(t, count());
  if (!at.blend) return keys_[at.index];
  D3DXQUATERNION out;
  D3DXQuaternionSlerp(&out, &keys_[at.index], &keys_[at.index + 1], at.weight);
  return out;
}

}  // namespace assets
