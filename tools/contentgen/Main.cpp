// contentgen: writes the show's generated content into the folder given on the command line.
//   contentgen OUTPUT_DIR [--no-music]
#include <cstdio>
#include <cstring>

#include "tools/contentgen/Generator.h"

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::fprintf(stderr, "usage: contentgen OUTPUT_DIR [--no-music]\n");
    return 2;
  }
  contentgen::GenerateOptions options;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-music") == 0) {
      options.music = false;
    } else {
      std::fprintf(stderr, "contentgen: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  return contentgen::generateContent(argv[1], options) ? 0 : 1;
}
