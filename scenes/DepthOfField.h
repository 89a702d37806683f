// Depth of field as three scenes build it: view distance written into the depth target ("dof1" pass
// 0), then the blurred half-size copy mixed back over the sharp picture by it ("dof1" pass 4). Draws
// with render::device() and the global registries; main thread only.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx9/D3DXMath.h"
#include "scenes/CurrentEffect.h"
#include "scenes/TargetPass.h"

namespace scenes {

// Where the picture is sharp and how fast it blurs away from there ("Focus", "Eksponent", "FallOff").
struct DepthOfField {
  float focus;
  float exponent;
  float fallOff;
};

// For the length of a scope: the depth target cleared to `clearColour`; cull none, depth test on,
// blending off; "dof1" with "matWorldViewProjection" = `viewProjection` and the depth of field,
// begun at pass 0. Draw into it, setting per-object matrices on `effect()`; the scope's end ends
// the pass and switches back.
class DepthPass {
public:
  DepthPass(const DepthOfField& depthOfField, D3DCOLOR clearColour, const D3DXMATRIX& viewProjection);
  ~DepthPass();
  DepthPass(const DepthPass&) = delete;
  DepthPass& operator=(const DepthPass&) = delete;

  CurrentEffect& effect() { return effect_; }

private:
  TargetPass target_;
  CurrentEffect effect_;
};

// Where the mix binds the sharp copy: before or after the blurred copy and the depth (the scenes
// differ only in this order).
enum class MixBinding { sharpFirst, sharpLast };

// BeginScene; source alpha over inverse source alpha; "dof1" pass 4 with the screen projection,
// "tex0" = half-size target A (blurred), "tex1" = the depth target and "tex2" = half-size target B
// (sharp), bound in the order `binding` says, on the full-screen quad. Leaves the scene open.
void mixDepthOfField(IDirect3DDevice9* device, MixBinding binding);

}  // namespace scenes
