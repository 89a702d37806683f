// The desktop context: an OpenGL core context on an SDL window that the win32 stand-in made (with
// SDL_WINDOW_OPENGL). The window is the stand-in's; the context is this object's. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/d3d9/gl/GlContext.h"

struct SDL_Window;

namespace d3d9::gl {

// Holds SDL's video subsystem open while it lives (SDL counts the holders).
class SdlVideo {
public:
  SdlVideo();
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
  bool ready() const { return ready_; }

private:
  bool ready_;
};

class SdlContext final : public GlContext {
public:
  // Makes a current core-profile context on the window; null, with SDL's reason in `error`.
  static std::shared_ptr<SdlContext> create(SDL_Window* window, std::string& error);
  ~SdlContext() override;
  SdlContext(const SdlContext&) = delete;
  SdlContext& operator=(const SdlContext&) = delete;

  void makeCurrent() override;
  bool hasWindow() const override { return true; }
  void drawableSize(int& width, int& height) const override;
  void swapBuffers() override;
  bool setSwapInterval(int interval) override;

private:
  SdlContext(SDL_Window* window, void* context) : window_(window), context_(context) {}
  SdlVideo video_;
  SDL_Window* window_;
  void* context_;  // SDL_GLContext
};

// Drawn over a window's frame after the back buffer reached it and before the swap (see
// GlBackend.h); empty for none.
using WindowOverlay = std::function<void(int width, int height)>;
void setWindowOverlay(WindowOverlay overlay);

// Turns the focus window that CreateDevice receives into the SDL window it stands for.
using WindowResolver = std::function<SDL_Window*(HWND)>;

// The desktop place pictures go: the display's modes, and a context on the resolved window.
std::unique_ptr<ContextProvider> makeWindowedProvider(WindowResolver resolveWindow);

}  // namespace d3d9::gl
