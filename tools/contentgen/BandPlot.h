// A picture of the spectrum file for people: the five bands over the whole piece, one strip each
// (the range of each pixel column light, its mean dark), the slot boundaries marked and named,
// the opening's flash threshold drawn on band 0. Also a per-slot summary as text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace contentgen {

// The records of a spectrum file: `bands` floats per record, 30 records a second.
struct SpectrumRecords {
  std::uint32_t bands = 0;
  std::vector<float> values;  // record-major
  std::size_t count() const { return bands ? values.size() / bands : 0; }
  float at(std::size_t record, std::uint32_t band) const { return values[record * bands + band]; }
};

// Reads a spectrum file (little-endian record count, band count, records). False when it cannot
// be read or is shorter than its header says.
bool readSpectrumFile(const std::string& path, SpectrumRecords& records);

// Draws the plot into a PNG. False when the fonts or the file cannot be used.
bool writeBandPlot(const SpectrumRecords& records, const std::string& pngPath);

// Per slot: the largest and mean value of bands 0, 1 and 2, and the seconds band 0 spends over
// 0.1, one line per slot.
std::string bandSummary(const SpectrumRecords& records);

}  // namespace contentgen
