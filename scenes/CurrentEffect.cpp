// Current effect of a frame step.
#include "scenes/CurrentEffect.h"

#include "render/EffectBinding.h"

namespace scenes {

CurrentEffect::CurrentEffect(assets::EffectStack& effects, const char* key) : effects_(effects) {
  effects_.currentKey = key;
  effect_ = effects_.lookup(key);
}

CurrentEffect& CurrentEffect::matrix(const char* name, const D3DXMATRIX& value) {
  if (effect_) effect_->SetMatrix(name, &value);
  return *this;
}

CurrentEffect& CurrentEffect::texture(const char* name, IDirect3DBaseTexture9* value) {
  if (effect_) effect_->SetTexture(name, value);
  return *this;
}

CurrentEffect& CurrentEffect::value(const char* name, float value) {
  if (effect_) effect_->SetFloat(name, value);
  return *this;
}

CurrentEffect& CurrentEffect::floats(const char* name, const float* values, UINT count) {
  if (effect_) effect_->SetFloatArray(name, values, count);
  return *this;
}

void CurrentEffect::commit() {
  if (effect_) effect_->CommitChanges();
}

void CurrentEffect::begin(UINT pass) { render::beginEffect(effects_, pass); }

void CurrentEffect::end() { render::endEffect(effects_); }

}  // namespace scenes
