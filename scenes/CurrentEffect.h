// The effect a frame step works with: assigns the key as the registry's current key, sets the
// step's parameters on the effect found, and brackets the draws with Begin and End by that key.
// A key the registry lacks ("No Match") makes every setter a no-op; the step still runs. Main thread only.
#pragma once

#include "assets/EffectStack.h"
#include "platform/d3dx9/d3dx9.h"

namespace scenes {

class CurrentEffect {
public:
  CurrentEffect(assets::EffectStack& effects, const char* key);

  CurrentEffect& matrix(const char* name, const D3DXMATRIX& value);
  CurrentEffect& texture(const char* name, IDirect3DBaseTexture9* value);
  CurrentEffect& value(const char* name, float value);
  CurrentEffect& floats(const char* name, const float* values, UINT count);
  CurrentEffect& vector(const char* name, const D3DXVECTOR3& value) { return floats(name, &value.x, 3); }
  void commit();

  // Begin(pass) and End on the current key.
  void begin(UINT pass);
  void end();

  ID3DXEffect* effect() const { return effect_; }

private:
  assets::EffectStack& effects_;
  ID3DXEffect* effect_;
};

}  // namespace scenes
