// PNG output through stb_image_write (its implementation is compiled here, once).
#include "platform/d3d9/gl/Image.h"

#include "platform/output/AtomicFile.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace d3d9::gl {

bool writePng(const std::string& path, const Image& image, std::string& error) {
  if (image.empty() || image.rgba.size() != std::size_t(image.width) * image.height * 4) {
    error = path + ": no picture to write";
    return false;
  }
  // Encoded in memory first: stb's own file writer does not check its writes.
  std::string png;
  auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), std::size_t(size));
  };
  int stride = int(image.width * 4);
  if (!stbi_write_png_to_func(append, &png, int(image.width), int(image.height), 4, image.rgba.data(), stride)) {
    error = path + ": the PNG could not be encoded";
    return false;
  }
  return output::writeWholeFile(path, png, error);
}

}  // namespace d3d9::gl
