// bandplot: draws a spectrum file's five bands over time into a PNG and prints a per-slot summary.
//   bandplot FFT_FILE OUTPUT.png
#include <cstdio>

#include "tools/contentgen/BandPlot.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bandplot FFT_FILE OUTPUT.png\n");
    return 2;
  }
  contentgen::SpectrumRecords records;
  if (!contentgen::readSpectrumFile(argv[1], records)) {
    std::fprintf(stderr, "bandplot: cannot read the spectrum file %s\n", argv[1]);
    return 1;
  }
  if (!contentgen::writeBandPlot(records, argv[2])) {
    std::fprintf(stderr, "bandplot: cannot draw %s (five bands and the DejaVu fonts are needed)\n", argv[2]);
    return 1;
  }
  std::fputs(contentgen::bandSummary(records).c_str(), stdout);
  std::printf("bandplot: wrote %s\n", argv[2]);
  return 0;
}
