// The viewer's status bar, drawn with Dear ImGui over the window's frame after the frame is on
// it: the renderer's name, music time and length, frame time and rate, the last effect-file error
// of --watch, and a seek bar with the schedule's slots marked and named. The frame loop owns it
// and feeds it once a frame; the window's swap draws it. Main thread only.
#pragma once

#include <string_view>

namespace app {

struct StatusLine {
  const char* renderer = nullptr;  // null for the default frame
  double musicTime = 0;
  double length = 0;
  double frameSeconds = 0;  // how long the last frame took, start to start
  bool paused = false;
  std::string_view watchError;  // the last effect file that failed to compile (the watcher's text)
};

class StatusBar {
public:
  StatusBar() = default;
  ~StatusBar();
  StatusBar(const StatusBar&) = delete;
  StatusBar& operator=(const StatusBar&) = delete;

  void update(const StatusLine& line);
  // Draws on the current OpenGL context's framebuffer of `width` x `height` pixels.
  void draw(int width, int height);

private:
  void start();

  bool started_ = false;
  StatusLine line_;
  double smoothedFrameSeconds_ = 0;
};

}  // namespace app
