// Glyph bitmaps from stb_truetype, placed along the baseline with advances and kerning.
#include "platform/text/FontFace.h"

#include <cmath>
#include <fstream>
#include <iterator>

namespace text {

bool FontFace::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (bytes_.empty() || !stbtt_InitFont(&info_, bytes_.data(), stbtt_GetFontOffsetForIndex(bytes_.data(), 0))) {
    bytes_.clear();
    return false;
  }
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBox(&info_, 'H', &x0, &y0, &x1, &y1);
  capUnits_ = float(y1);
  return capUnits_ > 0.0f;
}

float FontFace::scaleForPixelHeight(float pixels) const {
  return bytes_.empty() ? 0.0f : stbtt_ScaleForPixelHeight(&info_, pixels);
}

float FontFace::scaleForCapHeight(float cap) const { return cap / capUnits_; }

// Two additions, advance then kerning, in this order: the pen's rounding is part of the output.
void FontFace::movePen(float& x, std::string_view text, std::size_t i, const Layout& layout) const {
  int codepoint = static_cast<unsigned char>(text[i]);
  int advance = 0, bearing = 0;
  stbtt_GetCodepointHMetrics(&info_, codepoint, &advance, &bearing);
  x += float(advance) * layout.scale + layout.tracking;
  if (layout.kerning && i + 1 < text.size())
    x += float(stbtt_GetCodepointKernAdvance(&info_, codepoint, text[i + 1])) * layout.scale;
}

float FontFace::measure(std::string_view text, const Layout& layout) const {
  float x = 0.0f;
  for (std::size_t i = 0; i < text.size(); ++i) movePen(x, text, i, layout);
  return text.empty() ? 0.0f : x - layout.tracking;
}

void FontFace::paint(std::string_view text, float x, int baselineRow, const Layout& layout,
                     const CoverPixel& cover) const {
  if (bytes_.empty()) return;
  const float scale = layout.scale;
  std::vector<unsigned char> glyph;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int codepoint = static_cast<unsigned char>(text[i]);
    float left = std::floor(x);
    float shift = layout.subpixel ? x - left : 0.0f;
    int gx0 = 0, gy0 = 0, gx1 = 0, gy1 = 0;
    stbtt_GetCodepointBitmapBoxSubpixel(&info_, codepoint, scale, scale, shift, 0.0f, &gx0, &gy0, &gx1, &gy1);
    int w = gx1 - gx0, h = gy1 - gy0;
    if (w > 0 && h > 0) {
      glyph.assign(std::size_t(w) * h, 0);
      stbtt_MakeCodepointBitmapSubpixel(&info_, glyph.data(), w, h, w, scale, scale, shift, 0.0f, codepoint);
      for (int gy = 0; gy < h; ++gy)
        for (int gx = 0; gx < w; ++gx)
          if (unsigned char c = glyph[std::size_t(gy) * w + gx]) cover(int(left) + gx0 + gx, baselineRow + gy0 + gy, c);
    }
    movePen(x, text, i, layout);
  }
}

}  // namespace text
