// Several full-screen cards in one "demo1text" pass (fades, flashes and the frame overlay drawn
// one over the other). Draws with render::device(); main thread only.
#pragma once

#include <span>

#include "platform/d3d9/d3d9.h"

namespace scenes {

struct CardLayer {
  const char* texture;
  float opacity;
};

// The overlay states, then the global "demo1text" with "matProjection" = the screen projection and
// the first layer's "tex0" and "alpha1", Begin(pass 0), its quad; each further layer sets "tex0"
// and "alpha1", commits and draws its quad; End. The first layer's values are set before Begin so
// that the pass uploads them: set inside the pass without a commit, the first quad would be drawn
// with whatever texture and opacity the effect held before.
void drawScreenCardSequence(IDirect3DDevice9* device, std::span<const CardLayer> layers);

}  // namespace scenes
