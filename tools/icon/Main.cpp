// redkite_icon: writes the desktop icon, a square PNG cut from the setup dialog's picture (the kite
// in its evening sky) and scaled to the size asked for. Used by the install rules.
//   redkite_icon OUT.png SIZE
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/SetupDialogResource.h"

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[2]) : 0;
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "usage: redkite_icon OUT.png SIZE (16 to 1024)\n");
    return 2;
  }
  const win32::DialogBitmap picture = resources::setupDialogBitmap();
  // The square at the top of the portrait picture holds the kite and the sky around it.
  const int side = std::min(picture.width, picture.height);
  std::vector<unsigned char> icon(std::size_t(size) * size * 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Bilinear sample of the square at the pixel's centre.
      const float u = (float(x) + 0.5f) * float(side) / float(size) - 0.5f;
      const float v = (float(y) + 0.5f) * float(side) / float(size) - 0.5f;
      const int x0 = std::clamp(int(u), 0, side - 1), y0 = std::clamp(int(v), 0, side - 1);
      const int x1 = std::min(x0 + 1, side - 1), y1 = std::min(y0 + 1, side - 1);
      const float fx = std::clamp(u - float(x0), 0.0f, 1.0f), fy = std::clamp(v - float(y0), 0.0f, 1.0f);
      for (int c = 0; c < 3; ++c) {
        auto at = [&](int px, int py) { return float(picture.rgb[(std::size_t(py) * picture.width + px) * 3 + c]); };
        const float top = at(x0, y0) + fx * (at(x1, y0) - at(x0, y0));
        const float bottom = at(x0, y1) + fx * (at(x1, y1) - at(x0, y1));
        icon[(std::size_t(y) * size + x) * 3 + c] = static_cast<unsigned char>(top + fy * (bottom - top) + 0.5f);
      }
    }
  }
  if (!stbi_write_png(argv[1], size, size, 3, icon.data(), size * 3)) {
    std::fprintf(stderr, "redkite_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
