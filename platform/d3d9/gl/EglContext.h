// The headless context: OpenGL core profile on Mesa's surfaceless EGL platform, no display, window
// or environment variable needed (llvmpipe renders on the CPU). One context serves the whole
// process; it lives while any Direct3D object, device or device object of the backend holds it.
#pragma once

#include <epoxy/egl.h>

#include <memory>
#include <string>

#include "platform/d3d9/gl/GlContext.h"

namespace d3d9::gl {

class EglContext final : public GlContext {
public:
  // Opens the display and makes a current core-profile context; null, with the reason in `error`,
  // when the platform or the driver cannot.
  static std::shared_ptr<EglContext> create(std::string& error);
  ~EglContext() override;
  EglContext(const EglContext&) = delete;
  EglContext& operator=(const EglContext&) = delete;

  void makeCurrent() override;
  bool hasWindow() const override { return false; }
  void drawableSize(int& width, int& height) const override { width = height = 0; }
  void swapBuffers() override {}
  bool setSwapInterval(int) override { return true; }

private:
  EglContext(EGLDisplay display, EGLContext context) : display_(display), context_(context) {}
  EGLDisplay display_;
  EGLContext context_;
};

// The process's headless context, made on first use and again after the last holder let it go.
std::shared_ptr<GlContext> headlessContext(std::string& error);

// The headless place pictures go: a fixed mode list (no display to ask) and the shared context.
std::unique_ptr<ContextProvider> makeHeadlessProvider(std::shared_ptr<GlContext> context);

}  // namespace d3d9::gl
