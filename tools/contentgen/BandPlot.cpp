// The band plot and the per-slot summary.
#include "tools/contentgen/BandPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "timeline/Schedule.h"
#include "timeline/ScheduleTables.h"
#include "tools/contentgen/Font.h"
#include "tools/contentgen/Image.h"

namespace contentgen {
namespace {

constexpr int kWidth = 2400, kLeft = 120, kRight = 24, kTop = 92, kStrip = 150, kGap = 14, kBottom = 48;
constexpr int kSlots = 11;
constexpr double kRecordsPerSecond = 30.0;
// Full scale of each strip: bands 3 and 4 are much smaller than the three the pictures read.
constexpr float kFullScale[] = {0.4f, 0.4f, 0.3f, 0.1f, 0.1f};
constexpr Rgba kBandColours[] = {{1.0f, 0.55f, 0.2f}, {0.75f, 0.9f, 0.3f}, {0.3f, 0.8f, 1.0f}, {0.7f, 0.55f, 1.0f}, {0.7f, 0.7f, 0.7f}};
constexpr const char* kSlotNames[kSlots] = {"opening", "second", "third", "fourth", "fifth", "sixth",
                                            "seventh", "eighth", "ninth", "credits", "closing"};
constexpr Rgba kBackground = {0.07f, 0.075f, 0.09f}, kStripShade = {0.11f, 0.12f, 0.15f};
constexpr Rgba kText = {0.85f, 0.86f, 0.9f}, kRule = {0.45f, 0.47f, 0.55f}, kThreshold = {1.0f, 0.25f, 0.25f};

std::uint32_t readLe32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void fillRect(Image& image, int x0, int y0, int x1, int y1, const Rgba& colour, float alpha) {
  for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y) {
    for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x) image.at(x, y) = mix(image.at(x, y), colour, alpha);
  }
}

// Pixel geometry of the plot: music time to x, band value to y inside strip k.
struct Layout {
  double seconds;
  int height() const { return kTop + 5 * (kStrip + kGap) + kBottom; }
  int plotWidth() const { return kWidth - kLeft - kRight; }
  int x(double t) const { return kLeft + int(std::lround(t / seconds * plotWidth())); }
  int stripTop(int k) const { return kTop + k * (kStrip + kGap); }
  int y(int k, float value) const {
    float v = std::clamp(value / kFullScale[k], 0.0f, 1.0f);
    return stripTop(k) + kStrip - int(std::lround(v * (kStrip - 1)));
  }
};

void drawStrip(Image& image, const Layout& layout, const SpectrumRecords& records, std::uint32_t k) {
  const int k32 = int(k);
  fillRect(image, kLeft, layout.stripTop(k32), kWidth - kRight, layout.stripTop(k32) + kStrip, kStripShade, 1.0f);
  const double perPixel = layout.seconds / layout.plotWidth();
  for (int px = 0; px < layout.plotWidth(); ++px) {
    std::size_t first = std::size_t(px * perPixel * kRecordsPerSecond);
    std::size_t last = std::max(first + 1, std::size_t((px + 1) * perPixel * kRecordsPerSecond));
    last = std::min(last, records.count());
    if (first >= last) break;
    float low = 1e9f, high = 0.0f, sum = 0.0f;
    for (std::size_t i = first; i < last; ++i) {
      float v = records.at(i, k);
      low = std::min(low, v);
      high = std::max(high, v);
      sum += v;
    }
    const int x = kLeft + px;
    fillRect(image, x, layout.y(k32, high), x + 1, layout.y(k32, low) + 1, kBandColours[k], 0.35f);
    const int mean = layout.y(k32, sum / float(last - first));
    fillRect(image, x, mean - 1, x + 1, mean + 1, kBandColours[k], 1.0f);
  }
}

std::string format(const char* pattern, double a, double b = 0.0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, a, b);
  return buffer;
}

void drawSlots(Image& image, const Font& font, const Layout& layout) {
  const int bottom = layout.stripTop(4) + kStrip;
  for (int s = 1; s <= kSlots; ++s) {
    double from = timeline::kDemoTimeline[s - 1], to = std::min<double>(timeline::kDemoTimeline[s], layout.seconds);
    fillRect(image, layout.x(from), kTop - 4, layout.x(from) + 1, bottom + 6, kRule, 0.9f);
    float centre = 0.5f * float(layout.x(from) + layout.x(to));
    paintText(image, font, std::to_string(s), centre, kTop - 36, 13.0f, kText, true);
    paintText(image, font, kSlotNames[s - 1], centre, kTop - 14, 9.0f, kRule, true);
  }
}

void drawAxes(Image& image, const Font& font, const Layout& layout) {
  const int bottom = layout.stripTop(4) + kStrip;
  for (int t = 0; t <= int(layout.seconds); t += 10) {
    fillRect(image, layout.x(t), bottom, layout.x(t) + 1, bottom + (t % 20 == 0 ? 10 : 5), kText, 1.0f);
    if (t % 20 == 0) paintText(image, font, format("%.0f s", t), float(layout.x(t)), float(bottom + 30), 10.0f, kText, true);
  }
  for (int k = 0; k < 5; ++k) {
    float middle = float(layout.stripTop(k) + kStrip / 2);
    paintText(image, font, "band " + std::to_string(k), 12.0f, middle, 12.0f, kBandColours[k], false);
    paintText(image, font, format("0 - %.1f", kFullScale[k]), 12.0f, middle + 22.0f, 9.0f, kRule, false);
  }
  // The opening switches to its flash pictures while band 0 is over 0.1.
  const int threshold = layout.y(0, timeline::kSpectrumFlashThreshold);
  for (int x = kLeft; x < layout.x(timeline::kDemoTimeline[1]); x += 6) fillRect(image, x, threshold, x + 3, threshold + 1, kThreshold, 1.0f);
}

}  // namespace

bool readSpectrumFile(const std::string& path, SpectrumRecords& records) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
  if (bytes.size() < 8) return false;
  const std::uint32_t count = readLe32(bytes.data()), bands = readLe32(bytes.data() + 4);
  if (bands == 0 || bands > 256 || (bytes.size() - 8) / 4 / bands < count) return false;
  records.bands = bands;
  records.values.resize(std::size_t(count) * bands);
  for (std::size_t i = 0; i < records.values.size(); ++i) {
    std::uint32_t bits = readLe32(bytes.data() + 8 + 4 * i);
    std::memcpy(&records.values[i], &bits, sizeof bits);
  }
  return true;
}

bool writeBandPlot(const SpectrumRecords& records, const std::string& pngPath) {
  Font font;
  if (records.bands < 5 || records.count() == 0 || !font.load(kSans)) return false;
  const Layout layout{double(records.count()) / kRecordsPerSecond};
  Image image(kWidth, layout.height(), kBackground);
  for (std::uint32_t k = 0; k < 5; ++k) drawStrip(image, layout, records, k);
  drawSlots(image, font, layout);
  drawAxes(image, font, layout);
  paintText(image, font, "RV07/syncdata/fft.txt: FFT bins 0-4 of the soundtrack, 30 records a second, slots of the show above",
           float(kLeft), 24.0f, 12.0f, kText, false);
  return writePng(pngPath, image, 3);
}

std::string bandSummary(const SpectrumRecords& records) {
  std::string text;
  for (int s = 1; s <= kSlots && records.bands >= 3; ++s) {
    double from = timeline::kDemoTimeline[s - 1], to = timeline::kDemoTimeline[s];
    std::size_t first = std::size_t(std::ceil(from * kRecordsPerSecond));
    std::size_t last = std::min(records.count(), std::size_t(std::floor(to * kRecordsPerSecond)) + 1);
    if (first >= last) continue;
    std::string name = kSlotNames[s - 1];
    text += format("slot %2.0f ", s) + name + std::string(8 - name.size(), ' ');
    for (std::uint32_t k = 0; k < 3; ++k) {
      float high = 0.0f, sum = 0.0f;
      int over = 0;
      for (std::size_t i = first; i < last; ++i) {
        high = std::max(high, records.at(i, k));
        sum += records.at(i, k);
        over += records.at(i, k) > timeline::kSpectrumFlashThreshold;
      }
      text += format("  band %.0f: max %.3f", k, high) + format(" mean %.3f", sum / float(last - first));
      if (k == 0) text += format(" (over 0.1 for %.2f s)", over / kRecordsPerSecond);
    }
    text += "\n";
  }
  return text;
}

}  // namespace contentgen
