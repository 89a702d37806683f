// Screen-pass helpers.
#include "render/ScreenPass.h"

#include "render/Transforms.h"

namespace render {

D3DXMATRIX screenProjection() { return ortho(kScreenWidth, kScreenHeight); }

std::array<float, 2> texelSize(const RenderTarget& source) {
  return {1.0f / static_cast<float>(source.width), 1.0f / static_cast<float>(source.height)};
}

}  // namespace render
