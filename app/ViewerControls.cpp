// The frame loop, and the viewer's keys and seek bar applied to the music.
#include "app/ViewerControls.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "app/AppWindow.h"
#include "platform/win32/Keyboard.h"
#include "timeline/Schedule.h"

namespace app {
namespace {

// Slot k starts at the entry before it; the last entry is past the end of the music.
constexpr auto kSlotStarts = std::span(timeline::kDemoTimeline).first(std::size(timeline::kDemoTimeline) - 1);
// A seek lands on a slot's start give or take a frame of the stream's rounding: a time this close
// before a start counts as that start, so Page Down from a start goes on to the next one.
constexpr double kAtStart = 0.05;

constexpr LPARAM kRepeatBit = LPARAM{1} << 30;  // WM_KEYDOWN of a key already down

constexpr float kBarHeight = 44, kSeekMargin = 12, kSeekHeight = 10, kSeekBottomGap = 8;

int slotIndexOf(double musicTime) {
  int index = 0;
  for (int k = 0; k < int(kSlotStarts.size()); ++k)
    if (kSlotStarts[k] <= musicTime + kAtStart) index = k;
  return index;
}

}  // namespace

std::optional<double> previousSlotStart(double musicTime) {
  int index = slotIndexOf(musicTime);
  // In the first slot the nearest start there is is its own.
  if (index == 0) return musicTime > kAtStart ? std::optional<double>(0.0) : std::nullopt;
  return kSlotStarts[index - 1];
}

std::optional<double> nextSlotStart(double musicTime) {
  int index = slotIndexOf(musicTime);
  if (index + 1 >= int(kSlotStarts.size())) return std::nullopt;
  return kSlotStarts[index + 1];
}

StatusBarLayout statusBarLayout(int width, int height) {
  StatusBarLayout layout;
  layout.top = float(height) - kBarHeight;
  layout.seekLeft = kSeekMargin;
  layout.seekRight = std::max(kSeekMargin + 1, float(width) - kSeekMargin);
  layout.seekBottom = float(height) - kSeekBottomGap;
  layout.seekTop = layout.seekBottom - kSeekHeight;
  return layout;
}

void ViewerControls::handle(const MSG& message, int clientWidth, int clientHeight) {
  switch (message.message) {
    case WM_KEYDOWN:
      handleKey(static_cast<int>(message.wParam), (message.lParam & kRepeatBit) != 0);
      break;
    case WM_LBUTTONDOWN: {
      if (!statusBarShown_) break;
      StatusBarLayout layout = statusBarLayout(clientWidth, clientHeight);
      int y = GET_Y_LPARAM(message.lParam);
      // The bar's whole height is the target: the seek bar itself is thin.
      dragging_ = y >= layout.top;
      if (dragging_) seekFromBar(GET_X_LPARAM(message.lParam), clientWidth, clientHeight);
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_) seekFromBar(GET_X_LPARAM(message.lParam), clientWidth, clientHeight);
      break;
    case WM_LBUTTONUP:
      dragging_ = false;
      break;
    default:
      break;
  }
}

void ViewerControls::handleKey(int key, bool repeat) {
  const double now = music_.musicTime();
  // A held key repeats its seek; a toggle happens once a press.
  if (repeat && (key == VK_SPACE || key == 'H')) return;
  switch (key) {
    case VK_SPACE:
      music_.togglePause();
      break;
    case VK_LEFT:
      music_.seekTo(now - kArrowSeekSeconds);
      break;
    case VK_RIGHT:
      music_.seekTo(now + kArrowSeekSeconds);
      break;
    case VK_PRIOR:
      if (auto start = previousSlotStart(now)) music_.seekTo(*start);
      break;
    case VK_NEXT:
      if (auto start = nextSlotStart(now)) music_.seekTo(*start);
      break;
    case VK_HOME:
      music_.seekTo(0.0);
      break;
    case 'H':
      statusBarShown_ = !statusBarShown_;
      dragging_ = false;
      break;
    default:
      break;
  }
}

void ViewerControls::seekFromBar(int x, int clientWidth, int clientHeight) {
  StatusBarLayout layout = statusBarLayout(clientWidth, clientHeight);
  double fraction = std::clamp((float(x) - layout.seekLeft) / (layout.seekRight - layout.seekLeft), 0.0f, 1.0f);
  music_.seekTo(fraction * music_.length());
}

bool ViewerControls::finished(double musicTime, float endTime) {
  if (musicTime <= endTime) return false;
  if (!loop_) return true;
  music_.seekTo(0.0);
  return false;
}

void runFrameLoop(timeline::MusicStream& music, ViewerControls& controls,
                  const std::function<void(double, double)>& draw,
                  const std::function<void(std::chrono::steady_clock::time_point)>& afterPump) {
  const float endTime = music.endTime();
  auto lastFrame = std::chrono::steady_clock::now();
  for (;;) {
    const double position = music.musicTime();
    auto now = std::chrono::steady_clock::now();
    draw(position, std::chrono::duration<double>(now - lastFrame).count());
    lastFrame = now;
    music.applySeekKeys();
    BASS_Update();
    bool stay = appWindow().pump();
    if (afterPump) afterPump(now);
    if (controls.finished(position, endTime) || !stay) break;
  }
}

}  // namespace app
