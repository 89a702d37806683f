// The viewer's status bar, drawn with Dear ImGui over the window's frame after the frame is on
// it: the renderer's name, music time and length, frame time and rate, the last effect-file error
// of --watch, and a seek bar with the schedule's slots marked and named. The frame loop owns it
// and feeds it once a frame; the window's swap draws it. Main thread only.
#pragma once

#include <string>

namespace app {

struct StatusLine {
  std::string renderer;  // empty for the default frame
  double musicTime = 0;
  double length = 0;
  double frameSeconds = 0;  // how long the last frame took, start to start
  bool paused = false;
  std::string watchError;  // the last effect file that failed to compile, with its message
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

// "fifthSceneA" -> "fifth": the name a slot carries on the seek bar.
std::string slotLabel(const char* rendererName);

}  // namespace app
