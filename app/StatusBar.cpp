// The status bar's drawing: one ImGui frame of draw-list shapes, no widgets (the seek bar's clicks
// are the frame loop's, see ViewerControls).
#include "app/StatusBar.h"

#include <imgui.h>
#include <backends/imgui_impl_opengl3.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>

#include "app/ViewerControls.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"

namespace app {
namespace {

constexpr ImU32 kBackground = IM_COL32(0, 0, 0, 170);
constexpr ImU32 kText = IM_COL32(235, 235, 235, 255);
constexpr ImU32 kError = IM_COL32(255, 110, 90, 255);
constexpr ImU32 kTrack = IM_COL32(90, 90, 90, 255);
constexpr ImU32 kPlayed = IM_COL32(200, 60, 50, 255);
constexpr ImU32 kTick = IM_COL32(255, 255, 255, 200);
constexpr double kSmoothing = 0.1;  // share of the newest frame in the shown frame time

std::string clock(double seconds) {
  int tenths = static_cast<int>(std::max(0.0, seconds) * 10);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
  return text;
}

// "fifthSceneA" -> "fifth": the name a slot carries on the seek bar.
std::string_view slotLabel(std::string_view rendererName) { return rendererName.substr(0, rendererName.find("Scene")); }

// Slot k runs from entry k-1 to entry k of the schedule; the seek bar marks each start and names
// the slot after the renderer in its middle.
void drawSlots(ImDrawList& draw, const StatusBarLayout& layout, double length) {
  const auto& starts = timeline::kDemoTimeline;
  float width = layout.seekRight - layout.seekLeft;
  for (std::size_t k = 0; k + 1 < std::size(starts); ++k) {
    if (starts[k] >= length) break;
    float x = layout.seekLeft + width * float(starts[k] / length);
    draw.AddLine({x, layout.seekTop - 3}, {x, layout.seekBottom}, kTick);
    double middle = (starts[k] + std::min<double>(starts[k + 1], length)) / 2;
    auto call = timeline::scheduleFor(middle, timeline::spectrumTrack());
    if (!call) continue;
    std::string_view label = slotLabel(timeline::rendererName(call->renderer));
    const char* end = label.data() + label.size();
    float room = width * float((std::min<double>(starts[k + 1], length) - starts[k]) / length) - 4;
    if (ImGui::CalcTextSize(label.data(), end).x <= room)
      draw.AddText({x + 3, layout.seekTop - ImGui::GetFontSize() - 3}, kText, label.data(), end);
  }
}

}  // namespace


StatusBar::~StatusBar() {
  if (!started_) return;
  ImGui_ImplOpenGL3_Shutdown();
  ImGui::DestroyContext();
}

void StatusBar::start() {
  ImGui::CreateContext();
  ImGui::GetIO().IniFilename = nullptr;
  ImGui_ImplOpenGL3_Init("#version 330 core");
  started_ = true;
}

void StatusBar::update(const StatusLine& line) {
  line_ = line;
  smoothedFrameSeconds_ = smoothedFrameSeconds_ <= 0
                              ? line.frameSeconds
                              : smoothedFrameSeconds_ + kSmoothing * (line.frameSeconds - smoothedFrameSeconds_);
}

void StatusBar::draw(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (!started_) start();
  ImGuiIO& io = ImGui::GetIO();
  io.DisplaySize = ImVec2(float(width), float(height));
  io.DeltaTime = float(std::max(smoothedFrameSeconds_, 1e-3));
  ImGui_ImplOpenGL3_NewFrame();
  ImGui::NewFrame();

  ImDrawList& draw = *ImGui::GetForegroundDrawList();
  StatusBarLayout layout = statusBarLayout(width, height);
  float line = ImGui::GetFontSize() + 4;
  float top = layout.top - line - (line_.watchError.empty() ? 0 : line);
  draw.AddRectFilled({0, top}, {float(width), float(height)}, kBackground);

  char text[160];
  double fps = smoothedFrameSeconds_ > 0 ? 1.0 / smoothedFrameSeconds_ : 0.0;
  std::snprintf(text, sizeof text, "%s   %s / %s   %.1f ms  %.0f fps%s",
                line_.renderer ? line_.renderer : "(no scene)", clock(line_.musicTime).c_str(),
                clock(line_.length).c_str(), smoothedFrameSeconds_ * 1000, fps, line_.paused ? "   paused" : "");
  draw.AddText({layout.seekLeft, top + 2}, kText, text);
  if (!line_.watchError.empty()) draw.AddText({layout.seekLeft, top + line + 2}, kError, line_.watchError.data(),
                                              line_.watchError.data() + line_.watchError.size());

  draw.AddRectFilled({layout.seekLeft, layout.seekTop}, {layout.seekRight, layout.seekBottom}, kTrack);
  if (line_.length > 0) {
    float played = float(std::clamp(line_.musicTime / line_.length, 0.0, 1.0));
    draw.AddRectFilled({layout.seekLeft, layout.seekTop},
                       {layout.seekLeft + (layout.seekRight - layout.seekLeft) * played, layout.seekBottom}, kPlayed);
    drawSlots(draw, layout, line_.length);
  }
  ImGui::Render();
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace app
