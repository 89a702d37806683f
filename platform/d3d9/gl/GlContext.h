// Where the backend's OpenGL context comes from: a surfaceless EGL context for headless runs or an
// SDL window's context on the desktop. Every device object holds its context (shared), so the context
// outlives the last object with GL names in it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9::gl {

class GlContext {
public:
  virtual ~GlContext() = default;
  // Makes this context current on the calling thread when it is not already.
  virtual void makeCurrent() = 0;
  // True when frames go to a window (Present blits and swaps), false when they are read back.
  virtual bool hasWindow() const = 0;
  // The window's drawable in pixels; (0, 0) without a window.
  virtual void drawableSize(int& width, int& height) const = 0;
  virtual void swapBuffers() = 0;
  // 0 for no vsync, 1 for vsync; false when the driver refuses.
  virtual bool setSwapInterval(int interval) = 0;

  // The device whose GL state (render states, viewport, bindings) the context holds now; a device
  // that finds another one here puts its own state back first.
  const void* stateOwner = nullptr;
};

// What a Direct3D object of this backend asks of the place its pictures go.
class ContextProvider {
public:
  virtual ~ContextProvider() = default;
  virtual std::vector<D3DDISPLAYMODE> modes() = 0;
  virtual D3DDISPLAYMODE desktopMode() = 0;
  // The largest sample count the driver renders into a colour buffer; 0 when it has none.
  virtual int maxSamples() = 0;
  // A current context for a device presenting to `window`; null, with the reason in `error`, when
  // there is none.
  virtual std::shared_ptr<GlContext> contextFor(HWND window, std::string& error) = 0;
};

// Checks, on the current context, what the backend needs: OpenGL 4.5 core, or 3.3 core with
// ARB_clip_control. False with the reason in `error` otherwise.
bool hasRequiredFeatures(std::string& error);

// GL_MAX_SAMPLES of the current context.
int queryMaxSamples();

}  // namespace d3d9::gl
