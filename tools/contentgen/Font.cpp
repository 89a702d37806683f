// Cap-height sizes and mask coverage over the shared glyph painter.
#include "tools/contentgen/Font.h"

#include <cmath>

namespace contentgen {

text::Layout Font::layout(float cap, float tracking) const {
  return text::Layout{.scale = face_.scaleForCapHeight(cap), .tracking = tracking, .subpixel = true, .kerning = true};
}

float Font::measure(std::string_view text, float cap, float tracking) const {
  return face_.measure(text, layout(cap, tracking));
}

void Font::draw(Mask& mask, std::string_view text, float x, float baseline, float cap, float tracking) const {
  face_.paint(text, x, int(std::lround(baseline)), layout(cap, tracking),
              [&mask](int px, int py, unsigned char coverage) { mask.cover(px, py, float(coverage) / 255.0f); });
}

void Font::drawCentred(Mask& mask, std::string_view text, float centreX, float baseline, float cap,
                       float tracking) const {
  draw(mask, text, centreX - measure(text, cap, tracking) * 0.5f, baseline, cap, tracking);
}

void paintText(Image& image, const Font& font, std::string_view text, float x, float baseline, float cap,
               const Rgba& colour, bool centred) {
  Mask mask(image.width(), image.height());
  if (centred) {
    font.drawCentred(mask, text, x, baseline, cap);
  } else {
    font.draw(mask, text, x, baseline, cap);
  }
  image.paint(mask, colour);
}

}  // namespace contentgen
