// Begin and End of an effect pass.
#include "render/EffectBinding.h"

#include <string>

#include "assets/HresultMessage.h"
#include "platform/win32/MessageBox.h"

namespace render {
namespace {

constexpr const char* kNoKeyText = "CurrentRef & Ref == NULL";
constexpr const char* kNoKeyCaption = "Effect";
constexpr const char* kNoTechniqueFormat = "Begin[Ref == %s] Doesn't Have An Current Technique";
constexpr const char* kNoTechniqueCaption = "Effect->Begin";
constexpr const char* kPassFormat = "Effect[%s] -  has MaxPasses[%d] and cannot use Pass[%d]\n";
constexpr const char* kPassCaption = "Effect Error [Begin]";

// The given key, else the stack's current key; null (after the message) when there is neither.
const char* chooseKey(const assets::EffectStack& effects, const char* key) {
  if (key) return key;
  if (effects.currentKey) return effects.currentKey->c_str();
  MessageBoxA(nullptr, kNoKeyText, kNoKeyCaption, MB_OK);
  return nullptr;
}

}  // namespace

void beginEffect(assets::EffectStack& effects, UINT pass, const char* key) {
  key = chooseKey(effects, key);
  if (!key) return;
  ID3DXEffect* effect = effects.lookup(key);
  if (!effect) return;
  if (!effect->GetCurrentTechnique()) {
    MessageBoxA(nullptr, assets::formatMessage(kNoTechniqueFormat, key).c_str(), kNoTechniqueCaption, MB_OK);
    return;
  }
  UINT passes = 0;
  effect->Begin(&passes, 0);
  // Pass numbers start at 0, so the pass count itself is already one too many.
  if (pass >= passes) {
    std::string text = assets::formatMessage(kPassFormat, key, static_cast<int>(passes), static_cast<int>(pass));
    MessageBoxA(nullptr, text.c_str(), kPassCaption, MB_OK);
    return;
  }
  effect->BeginPass(pass);
}

void endEffect(assets::EffectStack& effects, const char* key) {
  key = chooseKey(effects, key);
  if (!key) return;
  ID3DXEffect* effect = effects.lookup(key);
  if (!effect) return;
  effect->EndPass();
  effect->End();
}

}  // namespace render
