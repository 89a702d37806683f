// The frame-time plot.
#include "bench/FramePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "timeline/Schedule.h"
#include "tools/contentgen/Font.h"
#include "tools/contentgen/Image.h"

namespace bench {
namespace {

using contentgen::Font;
using contentgen::Image;
using contentgen::Rgba;
using contentgen::paintText;

constexpr int kWidth = 1800, kLeft = 110, kRight = 24, kTop = 96, kPlot = 520, kBottom = 96;
constexpr int kSlots = 11;
constexpr const char* kSlotNames[kSlots] = {"opening", "second", "third", "fourth", "fifth", "sixth",
                                            "seventh", "eighth", "ninth", "credits", "closing"};
// Full scales the y axis may take, in milliseconds.
constexpr double kScales[] = {2.5, 3, 4, 5, 8, 10, 15, 20, 30, 50, 100};
constexpr Rgba kBackground = {0.07f, 0.075f, 0.09f}, kPlotShade = {0.11f, 0.12f, 0.15f};
constexpr Rgba kText = {0.85f, 0.86f, 0.9f}, kRule = {0.45f, 0.47f, 0.55f};
constexpr Rgba kMedianBudget = {1.0f, 0.8f, 0.25f}, kTailBudget = {1.0f, 0.3f, 0.3f};
constexpr Rgba kDefaultFrame = {0.6f, 0.6f, 0.6f};
constexpr Rgba kRendererColours[timeline::kRendererCount] = {
    {1.0f, 0.55f, 0.2f},  {1.0f, 0.85f, 0.4f}, {0.75f, 0.9f, 0.3f}, {0.3f, 0.8f, 1.0f},  {0.55f, 0.95f, 1.0f},
    {0.7f, 0.55f, 1.0f},  {1.0f, 0.45f, 0.7f}, {1.0f, 0.7f, 0.85f}, {0.4f, 1.0f, 0.6f},  {0.2f, 0.6f, 0.9f},
    {0.95f, 0.95f, 0.5f}, {0.9f, 0.5f, 0.4f},  {0.8f, 0.8f, 1.0f},  {0.5f, 0.85f, 0.75f}};

void fillRect(Image& image, int x0, int y0, int x1, int y1, const Rgba& colour, float alpha) {
  for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y)
    for (int x = std::max(0, x0); x < std::min(image.width(), x1); ++x)
      image.at(x, y) = contentgen::mix(image.at(x, y), colour, alpha);
}

std::string format(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

// Music time to x, milliseconds to y (clamped to the plot).
struct Layout {
  double seconds;
  double fullScaleMs;
  int plotWidth() const { return kWidth - kLeft - kRight; }
  int x(double t) const { return kLeft + int(std::lround(std::clamp(t / seconds, 0.0, 1.0) * (plotWidth() - 1))); }
  int y(double ms) const { return kTop + kPlot - 1 - int(std::lround(std::clamp(ms / fullScaleMs, 0.0, 1.0) * (kPlot - 1))); }
};

double fullScaleFor(std::vector<double> cpuMs) {
  std::sort(cpuMs.begin(), cpuMs.end());
  // Fit the slowest frames but one in a thousand; those beyond sit on the top edge.
  const double high = cpuMs[std::size_t(0.999 * double(cpuMs.size() - 1))] * 1.1;
  for (double scale : kScales)
    if (scale >= high) return scale;
  return kScales[std::size(kScales) - 1];
}

void drawAxes(Image& image, const Font& font, const Layout& layout) {
  const int bottom = kTop + kPlot;
  const double step = layout.fullScaleMs <= 5 ? 0.5 : layout.fullScaleMs <= 20 ? 2.0 : 10.0;
  for (double ms = 0; ms <= layout.fullScaleMs + 1e-9; ms += step) {
    const int y = layout.y(ms);
    fillRect(image, kLeft - 6, y, kWidth - kRight, y + 1, kRule, ms == 0 ? 0.9f : 0.25f);
    paintText(image, font, format(step < 1 ? "%.1f ms" : "%.0f ms", ms), kLeft - 60.0f, float(y + 5), 9.0f, kText,
             false);
  }
  for (int t = 0; t <= int(layout.seconds); t += 10) {
    fillRect(image, layout.x(t), bottom, layout.x(t) + 1, bottom + (t % 20 == 0 ? 10 : 5), kText, 1.0f);
    if (t % 20 == 0) paintText(image, font, format("%.0f s", t), float(layout.x(t)), float(bottom + 28), 10.0f, kText, true);
  }
}

void drawSlots(Image& image, const Font& font, const Layout& layout) {
  for (int s = 1; s <= kSlots; ++s) {
    const double from = timeline::kDemoTimeline[s - 1];
    const double to = std::min<double>(timeline::kDemoTimeline[s], layout.seconds);
    if (from >= layout.seconds) break;
    fillRect(image, layout.x(from), kTop - 4, layout.x(from) + 1, kTop + kPlot, kRule, 0.9f);
    paintText(image, font, kSlotNames[s - 1], 0.5f * float(layout.x(from) + layout.x(to)), kTop - 12, 9.0f, kRule, true);
  }
}

// A dashed horizontal line at `ms`, labelled at the right end.
void drawBudget(Image& image, const Font& font, const Layout& layout, double ms, const std::string& label,
                const Rgba& colour) {
  const int y = layout.y(ms);
  for (int x = kLeft; x < kWidth - kRight; x += 10) fillRect(image, x, y, x + 6, y + 2, colour, 0.9f);
  paintText(image, font, label, float(kWidth - kRight - font.measure(label, 9.0f) - 4), float(y - 6), 9.0f, colour, false);
}

void drawLegend(Image& image, const Font& font) {
  float x = kLeft;
  const float baseline = kTop + kPlot + kBottom - 18;
  auto entry = [&](const std::string& name, const Rgba& colour) {
    fillRect(image, int(x), int(baseline) - 9, int(x) + 9, int(baseline), colour, 1.0f);
    paintText(image, font, name, x + 14, baseline, 9.0f, kText, false);
    x += 14 + font.measure(name, 9.0f) + 22;
  };
  for (int r = 0; r < timeline::kRendererCount; ++r)
    entry(timeline::rendererName(static_cast<timeline::Renderer>(r)), kRendererColours[r]);
  entry("default frame", kDefaultFrame);
}

}  // namespace

bool writeFrameTimePlot(const std::vector<FrameTime>& frames, const std::string& caption, const std::string& pngPath) {
  Font font;
  if (frames.empty() || !font.load(contentgen::kSans)) return false;
  std::vector<double> cpuMs;
  cpuMs.reserve(frames.size());
  for (const FrameTime& f : frames) cpuMs.push_back(f.cpuUs * 1e-3);
  const Layout layout{std::max(1.0, frames.back().music), fullScaleFor(cpuMs)};
  Image image(kWidth, kTop + kPlot + kBottom, kBackground);
  fillRect(image, kLeft, kTop, kWidth - kRight, kTop + kPlot, kPlotShade, 1.0f);
  drawAxes(image, font, layout);
  drawSlots(image, font, layout);
  drawBudget(image, font, layout, 1.0, "1 ms: median budget", kMedianBudget);
  drawBudget(image, font, layout, 2.0, "2 ms: 99th-percentile budget", kTailBudget);
  for (const FrameTime& f : frames) {
    const Rgba& colour = f.renderer >= 0 && f.renderer < timeline::kRendererCount ? kRendererColours[f.renderer]
                                                                                   : kDefaultFrame;
    const int x = layout.x(f.music), y = layout.y(f.cpuUs * 1e-3);
    fillRect(image, x - 1, y - 1, x + 2, y + 2, colour, 0.85f);
  }
  drawLegend(image, font);
  paintText(image, font, caption, float(kLeft), 30.0f, 12.0f, kText, false);
  paintText(image, font, "CPU time per frame (thread CPU time, null device)", float(kLeft), 56.0f, 9.0f, kRule, false);
  return contentgen::writePng(pngPath, image, 3);
}

}  // namespace bench
