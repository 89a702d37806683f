// PNG output through stb_image_write (its implementation is compiled here, once).
#include "platform/d3d9/gl/Image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace d3d9::gl {

bool writePng(const std::string& path, const Image& image) {
  if (image.empty() || image.rgba.size() != std::size_t(image.width) * image.height * 4) return false;
  int stride = int(image.width * 4);
  return stbi_write_png(path.c_str(), int(image.width), int(image.height), 4, image.rgba.data(), stride) != 0;
}

}  // namespace d3d9::gl
