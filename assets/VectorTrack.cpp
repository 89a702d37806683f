// VectorTrack sampling.
#include "assets/VectorTrack.h"

namespace assets {

D3DXVECTOR3 VectorTrack::sample(float t) const {
  if (keys_.empty() || t < 0.0f) return {};
  KeyPosition at = keyPosition(t, count());
  const D3DXVECTOR3& k = keys_[at.index];
  if (!at.blend) return k;
  return k + (keys_[at.index + 1] - k) * at.weight;
}

}  // namespace assets
