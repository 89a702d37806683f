// `VectorTrack`: a keyframe track of (x, y, z) keys blended linearly per component; positions,
// scales, camera eyes and targets. Owns its keys; main thread only.
#pragma once

#include "assets/KeyTrack.h"
#include "platform/d3dx9/D3DXMath.h"

namespace assets {

static_assert(sizeof(D3DXVECTOR3) == 12, "a vector key is 12 bytes in the files");

class VectorTrack : public KeyTrack<D3DXVECTOR3> {
public:
  // No keys, or t < 0: (0, 0, 0). See keyPosition for the rule.
  D3DXVECTOR3 sample(float t) const;
};

}  // namespace assets
