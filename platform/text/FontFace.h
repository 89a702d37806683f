// One TrueType face (stb_truetype) and the painter of its text: glyph after glyph along a
// baseline, each covered pixel handed to the caller, who decides how it lands in its own image.
// The face owns the font file's bytes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <stb_truetype.h>

namespace text {

// How a line is laid out: font units to pixels, extra pixels after each letter, whether glyphs
// start at their exact fractional position (else at the whole pixel left of it) and whether
// letter pairs are kerned.
struct Layout {
  float scale = 1.0f;
  float tracking = 0.0f;
  bool subpixel = true;
  bool kerning = true;
};

// Receives one covered pixel: its column and row and the coverage, 1 to 255.
using CoverPixel = std::function<void(int x, int y, unsigned char coverage)>;

class FontFace {
public:
  // False when the file cannot be read or is not a font.
  bool load(const std::string& path);

  // The scale that makes the font's ascent-to-descent height `pixels` tall (0 before a load).
  float scaleForPixelHeight(float pixels) const;
  // The scale that makes a capital H `cap` pixels tall.
  float scaleForCapHeight(float cap) const;

  // Width of `text` (ASCII) in pixels, without the tracking after its last letter.
  float measure(std::string_view text, const Layout& layout) const;
  // Paints `text` with the left end of its baseline at (x, baselineRow).
  void paint(std::string_view text, float x, int baselineRow, const Layout& layout, const CoverPixel& cover) const;

private:
  // Moves the pen `x` past `text[i]`.
  void movePen(float& x, std::string_view text, std::size_t i, const Layout& layout) const;

  std::vector<unsigned char> bytes_;
  stbtt_fontinfo info_{};
  float capUnits_ = 0.0f;
};

}  // namespace text
