// The screen-pass convention the scenes share: a 640 × 480 virtual screen centred on the origin
// projected with ortho(640, 480) as "matProjection", the half-size target size and the "ps" texel
// size of a source target. Pure helpers; the scenes set their render states in StateSetters.h.
#pragma once

#include <array>

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"
#include "render/RenderTarget.h"

namespace render {

// ortho(640, 480).
D3DXMATRIX screenProjection();

// Half of a back-buffer dimension, truncated (1365 → 682).
constexpr UINT halfSize(UINT pixels) { return static_cast<UINT>(pixels * 0.5); }

// "ps": one over the source target's width and height.
std::array<float, 2> texelSize(const RenderTarget& source);

}  // namespace render
