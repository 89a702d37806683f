// A frame read back from a headless device (RGBA, 8 bits a channel, rows top first) and its PNG
// writer. The image owns its pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace d3d9::gl {

struct Image {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes

  bool empty() const { return rgba.empty(); }
  // The pixel at column x, row y (row 0 at the top).
  const std::uint8_t* at(unsigned x, unsigned y) const { return rgba.data() + (std::size_t(y) * width + x) * 4; }
};

// Writes the image as an 8-bit RGBA PNG, whole or not at all; false when it is empty or the file
// cannot be written, with "PATH: reason" in `error`.
bool writePng(const std::string& path, const Image& image, std::string& error);

}  // namespace d3d9::gl
