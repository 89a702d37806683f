// Contact sheet: times, frames, labels set in DejaVu with the shared glyph painter.
#include "app/ContactSheet.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdio>
#include <map>

#include "app/AppWindow.h"
#include "app/CommandLine.h"
#include "app/Headless.h"
#include "app/SpectrumCommand.h"
#include "app/StartUp.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/text/FontFace.h"
#include "timeline/SpectrumTrack.h"

namespace app {
namespace {

constexpr const char* kLabelFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr float kLabelPixels = 15.0f;
constexpr unsigned kLabelStrip = 22;
constexpr unsigned kSheetColumns = 4;

// Draws white text with its baseline `baseline` pixels from the top, `left` from the left: whole
// pixel placement, no kerning, each glyph's coverage blended towards white.
void stampText(d3d9::gl::Image& image, const text::FontFace& font, const std::string& label, int left, int baseline) {
  text::Layout layout{.scale = font.scaleForPixelHeight(kLabelPixels), .subpixel = false, .kerning = false};
  font.paint(label, float(left), baseline, layout, [&image](int px, int py, unsigned char coverage) {
    if (px < 0 || py < 0 || px >= int(image.width) || py >= int(image.height)) return;
    std::uint8_t* p = image.rgba.data() + (std::size_t(py) * image.width + px) * 4;
    for (int k = 0; k < 3; ++k) p[k] = std::uint8_t((p[k] * (255 - coverage) + 255 * coverage) / 255);
  });
}

}  // namespace

std::vector<SheetEntry> pickSheetTimes(const timeline::SpectrumTrack& spectrum, double end, double step) {
  struct Run {
    double first = -1, last = -1;
    bool closed = false;
  };
  std::map<timeline::Renderer, Run> runs;
  std::vector<timeline::Renderer> order;
  std::optional<timeline::Renderer> previous;
  for (double t = step; t <= end; t += step) {
    auto call = timeline::scheduleFor(t, spectrum);
    std::optional<timeline::Renderer> current;
    if (call) current = call->renderer;
    if (previous && previous != current) runs[*previous].closed = true;
    if (current) {
      auto [it, added] = runs.try_emplace(*current);
      if (added) order.push_back(*current);
      if (!it->second.closed) {
        if (it->second.first < 0) it->second.first = t;
        it->second.last = t;
      }
    }
    previous = current;
  }
  std::vector<SheetEntry> entries;
  for (timeline::Renderer r : order) {
    // The sample nearest the middle of the stretch, so it is a time at which r really runs.
    const Run& run = runs[r];
    double middle = (run.first + run.last) / 2;
    entries.push_back({run.first + std::round((middle - run.first) / step) * step, r});
  }
  return entries;
}

d3d9::gl::Image composeSheet(const std::vector<d3d9::gl::Image>& frames, const std::vector<std::string>& labels,
                             unsigned columns) {
  d3d9::gl::Image sheet;
  if (frames.empty() || columns == 0) return sheet;
  unsigned cellW = frames[0].width, cellH = frames[0].height + kLabelStrip;
  unsigned rows = unsigned((frames.size() + columns - 1) / columns);
  sheet.width = cellW * std::min<unsigned>(columns, unsigned(frames.size()));
  sheet.height = cellH * rows;
  sheet.rgba.assign(std::size_t(sheet.width) * sheet.height * 4, 0);
  for (std::size_t i = 0; i < sheet.rgba.size(); i += 4) sheet.rgba[i + 3] = 255;
  text::FontFace font;
  font.load(kLabelFont);
  for (std::size_t i = 0; i < frames.size(); ++i) {
    unsigned x0 = unsigned(i % columns) * cellW, y0 = unsigned(i / columns) * cellH;
    const d3d9::gl::Image& frame = frames[i];
    for (unsigned y = 0; y < std::min(frame.height, cellH) && frame.width == cellW; ++y) {
      std::copy_n(frame.rgba.data() + std::size_t(y) * frame.width * 4, std::size_t(cellW) * 4,
                  sheet.rgba.data() + (std::size_t(y0 + y) * sheet.width + x0) * 4);
    }
    if (i < labels.size()) stampText(sheet, font, labels[i], int(x0) + 6, int(y0 + frame.height + 16));
  }
  return sheet;
}

int runContactSheet(const Options& options) {
  loadHeadlessSpectrum();
  std::vector<SheetEntry> entries = pickSheetTimes(timeline::spectrumTrack(), kShowEnd);
  std::vector<double> times;
  std::vector<std::string> labels;
  for (const SheetEntry& e : entries) {
    times.push_back(e.musicTime);
    char label[64];
    std::snprintf(label, sizeof label, "%.2f s  %s", e.musicTime, timeline::rendererName(e.renderer));
    labels.push_back(label);
  }
  d3d9::gl::installHeadless();
  std::vector<d3d9::gl::Image> frames;
  bool drawn = drawHeadless(options, options.size.value_or(kSheetCellSize), times, [&](double) {
    frames.push_back(d3d9::gl::presentedImage(deviceState().device.get()));
    return true;
  });
  if (!drawn) return 1;
  std::string error;
  if (!d3d9::gl::writePng(*options.sheet, composeSheet(frames, labels, kSheetColumns), error)) {
    std::fprintf(stderr, "redkite: cannot write %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: %zu renderers\n", options.sheet->c_str(), frames.size());
  return 0;
}

}  // namespace app
