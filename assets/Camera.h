// `Camera`: a view description (up, eye, target, vertical field of view, near and far planes).
// The aspect ratio is not part of it: projections use the one display aspect ratio. Plain value.
#pragma once

#include "platform/d3dx9/D3DXMath.h"

namespace assets {

struct Camera {
  D3DXVECTOR3 up{0.0f, 1.0f, 0.0f};
  D3DXVECTOR3 eye{};
  D3DXVECTOR3 target{};
  float fov = 0.0f;  // radians; 0 until first sampled
  float nearPlane = 1.0f;
  float farPlane = 10000.0f;
};

}  // namespace assets
