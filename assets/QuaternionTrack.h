// `QuaternionTrack`: a keyframe track of (x, y, z, w) rotation keys blended with
// D3DXQuaternionSlerp. Owns its keys; main thread only.
#pragma once

#include "assets/KeyTrack.h"
#include "platform/d3dx9/D3DXMath.h"

namespace assets {

static_assert(sizeof(D3DXQUATERNION) == 16, "a rotation key is 16 bytes in the files");

class QuaternionTrack : public KeyTrack<D3DXQUATERNION> {
public:
  // No keys: (0, 0, 0, 0), which D3DXMatrixRotationQuaternion turns into the identity.
  // See keyPosition for the rule.
  D3DXQUATERNION sample(float t) const;
};

}  // namespace assets
