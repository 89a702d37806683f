// Picture cards: their placement, and one pass with a texture and size per group of ten, committed
// between groups.
#include "scenes/PictureCards.h"

#include <algorithm>
#include <array>

#include "render/Device.h"
#include "scenes/CurrentEffect.h"
#include "scenes/StateSetters.h"
#include "timeline/Manifest.h"

namespace scenes {
namespace {

struct CardGroup {
  const char* texture;
  float width;
  float height;
  UINT first;
  UINT last;
};

constexpr std::array<CardGroup, 4> kCardGroups = {{
    {"organ1f", 400.0f, 200.0f, 0, 10},
    {"organ3f", 400.0f, 200.0f, 10, 20},
    {"organ4f", 200.0f, 400.0f, 20, 30},
    {"organ5f", 200.0f, 400.0f, 30, 40},
}};
constexpr UINT kCardPass = 2;

}  // namespace

void placePictureCards(timeline::MainStage& stage, int count, D3DXVECTOR3 (*centre)(int, float), float t) {
  auto& positions = stage.sprites40.positions;
  const std::size_t cards = std::min(static_cast<std::size_t>(std::max(count, 0)), positions.size());
  for (std::size_t i = 0; i < cards; ++i) {
    const D3DXVECTOR3 c = centre(static_cast<int>(i), t);
    positions[i] = {c.x, c.y, c.z, positions[i].w};
  }
}

void drawPictureCards(timeline::MainStage& stage, const D3DXMATRIX& view, const D3DXMATRIX& viewProjection) {
  IDirect3DDevice9* device = render::device();
  assets::TextureStack& textures = timeline::manifest().textures;
  setStates(device, D3DCULL_NONE, false, kDarkest);
  CurrentEffect cards(stage.stageEffects, "partikkel");
  const CardGroup& first = kCardGroups[0];
  const float firstSize[2] = {first.width, first.height};
  cards.matrix("matView", view).matrix("matViewProjection", viewProjection).floats("ParticleSize", firstSize, 2);
  stage.sprites40.upload();
  cards.texture("tex0", textures.lookup(first.texture));
  cards.begin(kCardPass);
  stage.sprites40.draw(device, first.first, first.last);
  for (std::size_t g = 1; g < kCardGroups.size(); ++g) {
    const CardGroup& group = kCardGroups[g];
    const float size[2] = {group.width, group.height};
    cards.floats("ParticleSize", size, 2).texture("tex0", textures.lookup(group.texture));
    cards.commit();
    stage.sprites40.draw(device, group.first, group.last);
  }
  cards.end();
}

}  // namespace scenes
