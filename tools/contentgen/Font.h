// Text set in a TrueType font (DejaVu from fonts-dejavu-core), drawn as coverage into a Mask with
// the shared glyph painter: subpixel placement and kerning. Sizes are given as the cap height in
// pixels (the height of "H"). One Font per face; it owns the face.
#pragma once

#include <string>
#include <string_view>

#include "platform/text/FontFace.h"
#include "tools/contentgen/Image.h"

namespace contentgen {

constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";

class Font {
public:
  // False when the file cannot be read or is not a font.
  bool load(const std::string& path) { return face_.load(path); }

  // Width in pixels of `text` (ASCII) at cap height `cap`, with `tracking` extra pixels per letter.
  float measure(std::string_view text, float cap, float tracking = 0.0f) const;
  // Draws with the left end of the baseline at (x, baseline).
  void draw(Mask& mask, std::string_view text, float x, float baseline, float cap, float tracking = 0.0f) const;
  // Draws centred horizontally on centreX.
  void drawCentred(Mask& mask, std::string_view text, float centreX, float baseline, float cap,
                   float tracking = 0.0f) const;

private:
  text::Layout layout(float cap, float tracking) const;

  text::FontFace face_;
};

// Paints `text` onto `image` in `colour`, its baseline starting at x, or centred on x.
void paintText(Image& image, const Font& font, std::string_view text, float x, float baseline, float cap,
               const Rgba& colour, bool centred);

}  // namespace contentgen
