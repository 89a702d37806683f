// The 56 textures of the show, written in groups: shared pieces (frame overlay, light cone,
// ribbon and shadow strips, plain cards, the stone tile), the opening and second scene, the organ
// pictures, the landscapes, and the text cards set in DejaVu.
#pragma once

#include "tools/contentgen/Font.h"
#include "tools/contentgen/Output.h"

namespace contentgen {

struct Fonts {
  Font sansBold;
  Font sans;
  Font serifBold;
};
// False when a DejaVu face cannot be loaded (fonts-dejavu-core missing).
bool loadFonts(Fonts& fonts);

void writeSharedTextures(Output& out);
void writeOpeningTextures(Output& out);
void writeOrganTextures(Output& out);
void writeLandscapeTextures(Output& out);
void writeCardTextures(Output& out, const Fonts& fonts);

}  // namespace contentgen
