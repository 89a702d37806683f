// Effect binding: the Begin/End bracket around every draw. Begin selects an effect of an
// `EffectStack` by key (or by the stack's current key), starts it and begins one pass; End ends
// the pass and the effect. Failures are shown as message boxes and the frame goes on. Holds no
// state; main thread only.
#pragma once

#include "assets/EffectStack.h"

namespace render {

// No key and no current key: "CurrentRef & Ref == NULL" (caption "Effect"). An effect without a
// technique, or a pass at or past the pass count, is reported and no pass is begun.
void beginEffect(assets::EffectStack& effects, UINT pass, const char* key = nullptr);

// Calls EndPass and End on the effect Begin selected; give it the same key (or current key).
void endEffect(assets::EffectStack& effects, const char* key = nullptr);

}  // namespace render
