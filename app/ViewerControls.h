// The show's frame loop and the viewer's controls in it: pause, seeks by 5 s and by scene slot, back
// to the start, the status bar and a click on its seek bar. Every control moves the music, the
// show's one clock, so each frame stays a function of the music time. Main thread only.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/win32/Window.h"
#include "timeline/MusicStream.h"

namespace app {

inline constexpr double kArrowSeekSeconds = 5.0;

// The start of the schedule's slot before / after the one a music time is in; nothing before the
// first slot or after the last one.
std::optional<double> previousSlotStart(double musicTime);
std::optional<double> nextSlotStart(double musicTime);

// Where the status bar and its seek bar lie in a client area of `width` x `height` pixels.
struct StatusBarLayout {
  float top = 0;     // the bar's upper edge; it runs to the bottom of the window
  float seekLeft = 0, seekRight = 0, seekTop = 0, seekBottom = 0;
};
StatusBarLayout statusBarLayout(int width, int height);

class ViewerControls {
public:
  ViewerControls(timeline::MusicStream& music, bool loop) : music_(music), loop_(loop) {}

  // Acts on one message the window's pump took: a key of the table in --help, or the left button
  // on the status bar's seek bar (held and dragged, it keeps seeking). Other messages are ignored.
  void handle(const MSG& message, int clientWidth, int clientHeight);
  // After a frame: whether the show is over at this music time. With --loop the music goes back
  // to 0 instead and the show goes on.
  bool finished(double musicTime, float endTime);

  bool statusBarShown() const { return statusBarShown_; }

private:
  void seekFromBar(int x, int clientWidth, int clientHeight);
  void handleKey(int key, bool repeat);

  timeline::MusicStream& music_;
  bool loop_;
  bool statusBarShown_ = false;
  bool dragging_ = false;
};

// The show's frame loop: each frame reads the music time once, draws the frame of that time
// (`draw(musicTime, secondsSinceTheLastFrame)`), applies the O/I keys, lets the audio library
// update, takes one message from the window's pump and calls `afterPump`. It ends after drawing the
// first frame past the music's end time (unless --loop takes the music back to 0) or once the
// viewer leaves (Escape, the window closed).
void runFrameLoop(timeline::MusicStream& music, ViewerControls& controls,
                  const std::function<void(double, double)>& draw,
                  const std::function<void(std::chrono::steady_clock::time_point)>& afterPump);

}  // namespace app
