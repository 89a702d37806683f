// The global assets every scene shares: five render targets, the global effect and texture
// registries and the two screen grids. One global instance, filled once at start-up by
// loadManifest after the device exists, living until the process ends.
#pragma once

#include "assets/EffectStack.h"
#include "assets/Mesh.h"
#include "assets/TextureStack.h"
#include "render/RenderTarget.h"

namespace timeline {

struct Manifest {
  render::RenderTarget shadowTarget;
  render::RenderTarget depthTarget;
  render::RenderTarget screenCopyTarget;
  render::RenderTarget halfTargetA;  // receives the blurred picture
  render::RenderTarget halfTargetB;  // receives the copy of the back buffer
  assets::EffectStack effects;
  assets::TextureStack textures;
  assets::Mesh fullScreenQuad;
  assets::Mesh distortionGrid;
};

Manifest& manifest();

// Creates the targets at the back buffer's size and format, loads the 22 effects and 56 textures,
// and generates the two grids, with the device of render::device().
void loadManifest();

// Drops everything the manifest holds, at shutdown, while the device still exists.
void releaseManifest();

// The shadow target's side in pixels.
inline constexpr UINT kShadowTargetSize = 512;

}  // namespace timeline
