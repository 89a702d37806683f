// Text cards set in DejaVu: the opening's title cards (white text with a soft shadow on a
// transparent card), the four credit cards (near-black type on white, laid out so each line's
// shadow falls into empty rows) and the closing logo.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "tools/contentgen/Paint.h"
#include "tools/contentgen/TextureTools.h"
#include "tools/contentgen/Textures.h"

namespace contentgen {
namespace {

// The largest cap height up to `maxCap` at which `text` fits in `width` pixels.
// The width is the glyphs' part (proportional to the cap height) plus the fixed tracking.
float fittedCap(const Font& font, std::string_view text, float width, float maxCap, float tracking = 0.0f) {
  float glyphs = font.measure(text, maxCap);
  float spacing = font.measure(text, maxCap, tracking) - glyphs;
  return glyphs + spacing > width ? maxCap * (width - spacing) / glyphs : maxCap;
}

// A title card of the opening: 1024 × 768, transparent, white text with a soft dark shadow
// (alpha 0.6), all inside the central 70 % and clear of the overlay's bars.
Image titleCard(const Font& font, std::string_view text, float maxCap, float tracking) {
  Mask type(1024, 768);
  float cap = fittedCap(font, text, 640.0f, maxCap, tracking);
  font.drawCentred(type, text, 512.0f, 384.0f + cap * 0.5f, cap, tracking);
  Mask shadow = type;
  shadow.blur(std::max(2, int(cap * 0.06f)), false);
  Image image(1024, 768, rgb(0, 0, 0, 0));
  image.paint(shadow, rgb(0, 0, 0, 0.6f), 3, 4);
  image.paint(type, rgb(1, 1, 1));
  return image;
}

// The subtitle card: two centred lines in the same style as the title card.
Image subtitleCard(const Font& font, std::string_view first, std::string_view second) {
  Mask type(1024, 768);
  float cap = std::min(fittedCap(font, first, 640.0f, 56.0f), fittedCap(font, second, 640.0f, 56.0f));
  font.drawCentred(type, first, 512.0f, 384.0f - cap * 0.3f, cap);
  font.drawCentred(type, second, 512.0f, 384.0f + cap * 1.7f, cap);
  Mask shadow = type;
  shadow.blur(std::max(2, int(cap * 0.06f)), false);
  Image image(1024, 768, rgb(0, 0, 0, 0));
  image.paint(shadow, rgb(0, 0, 0, 0.6f), 3, 4);
  image.paint(type, rgb(1, 1, 1));
  return image;
}

// A credit card, 1024 × 512 on white. The card is seen tilted with its shadow below it on the
// floor: the title sits in rows 120–210 and the subline in rows 330–375, so their shadows land
// in the empty rows 240–310 and 390–430. Text stays within x 215–809 (on screen at 640 × 480).
Image creditCard(const Fonts& fonts, std::string_view title, std::string_view subline) {
  constexpr float kLeft = 215.0f, kRight = 809.0f, kCentre = (kLeft + kRight) * 0.5f;
  Mask type(1024, 512);
  float titleCap = fittedCap(fonts.sansBold, title, kRight - kLeft - 12.0f, 90.0f, 4.0f);
  fonts.sansBold.drawCentred(type, title, kCentre, 165.0f + titleCap * 0.5f, titleCap, 4.0f);
  float subCap = fittedCap(fonts.sansBold, subline, kRight - kLeft - 12.0f, 45.0f);
  fonts.sansBold.drawCentred(type, subline, kCentre, 352.0f + subCap * 0.5f, subCap);
  Image image(1024, 512, rgb(1, 1, 1));
  image.paint(type, rgb(0.05f, 0.05f, 0.06f));
  return image;
}

// The closing logo, 1024 × 768: the group's wordmark in dark red on warm cream inside a dark red
// frame, a kite above it and thin rules as ornament. Dark enough overall (mean ≈ 0.6, strong
// contrast) that it still reads while the black card rises over it. Top and bottom rows match.
Image logo(const Fonts& fonts) {
  const Rgba cream = rgb(0.92f, 0.88f, 0.78f), red = rgb(0.45f, 0.08f, 0.06f);
  Mask ink(1024, 768);
  for (int y = 0; y < 768; ++y) {
    for (int x = 0; x < 1024; ++x) {
      bool frame = x < 64 || x >= 960 || y < 110 || y >= 658;
      bool rule = (x >= 84 && x < 940 && ((y >= 128 && y < 134) || (y >= 634 && y < 640))) ||
                  (y >= 128 && y < 640 && ((x >= 84 && x < 90) || (x >= 934 && x < 940)));
      if (frame || rule) ink.at(x, y) = 1.0f;
    }
  }
  fillPolygon(ink, {{512, 170}, {566, 240}, {512, 330}, {458, 240}});
  strokePath(ink, smoothOpen({{512, 330}, {498, 350}, {526, 370}, {500, 392}}, 8), 5.0f, false);
  float cap = fittedCap(fonts.serifBold, "TINKERFOLKS", 800.0f, 130.0f, 6.0f);
  fonts.serifBold.drawCentred(ink, "TINKERFOLKS", 512.0f, 470.0f + cap * 0.5f, cap, 6.0f);
  fonts.sansBold.drawCentred(ink, "REAL-TIME WORKS", 512.0f, 590.0f, 26.0f, 10.0f);
  Image image(1024, 768, cream);
  image.paint(ink, red);
  return image;
}

}  // namespace

bool loadFonts(Fonts& fonts) {
  return fonts.sansBold.load(kSansBold) && fonts.sans.load(kSans) && fonts.serifBold.load(kSerifBold);
}

void writeCardTextures(Output& out, const Fonts& fonts) {
  out.png("quarvdemo\\render1\\blink1.png", titleCard(fonts.sansBold, "RED KITE", 130.0f, 24.0f), 4);
  out.png("quarvdemo\\render1\\blink2.png", subtitleCard(fonts.sans, "a flight in sound and light", "by Tinkerfolks"), 4);
  out.png("quarvdemo\\render1\\blink3.png", titleCard(fonts.sansBold, "SOAR", 120.0f, 16.0f), 4);
  out.png("quarvdemo\\render8\\producer.png", creditCard(fonts, "PRODUCER", "a Tinkerfolks production"), 3);
  out.png("quarvdemo\\render8\\music.png", creditCard(fonts, "MUSIC", "synthesised in code"), 3);
  out.png("quarvdemo\\render8\\moral.png", creditCard(fonts, "MORAL SUPPORT", "friends of the workshop"), 3);
  out.png("quarvdemo\\render8\\organdonor.png", creditCard(fonts, "ORGAN DONOR", "the anatomy collection"), 3);
  out.png("quarvdemo\\render8\\tink8.png", logo(fonts), 3);
}

}  // namespace contentgen
