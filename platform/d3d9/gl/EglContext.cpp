// Surfaceless EGL: display, context and the headless provider.
#include "platform/d3d9/gl/EglContext.h"

#include <epoxy/gl.h>

namespace d3d9::gl {

namespace {

// Core-profile contexts to try, newest first.
constexpr EGLint kVersions[][2] = {{4, 5}, {3, 3}};

EGLContext createCoreContext(EGLDisplay display) {
  EGLConfig config = EGL_NO_CONFIG_KHR;
  if (!epoxy_has_egl_extension(display, "EGL_KHR_no_config_context")) {
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, &config, 1, &count) || count == 0) return EGL_NO_CONTEXT;
  }
  for (const auto& version : kVersions) {
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,       version[0],
                                 EGL_CONTEXT_MINOR_VERSION,       version[1],
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                 EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, attributes);
    if (context != EGL_NO_CONTEXT) return context;
  }
  return EGL_NO_CONTEXT;
}

class HeadlessProvider final : public ContextProvider {
public:
  explicit HeadlessProvider(std::shared_ptr<GlContext> context) : context_(std::move(context)) {}

  // The same modes and desktop as the trace adapter, so headless runs and traces choose alike.
  std::vector<D3DDISPLAYMODE> modes() override {
    return {{640, 480, 60, D3DFMT_X8R8G8B8},   {800, 600, 60, D3DFMT_X8R8G8B8},
            {1024, 768, 60, D3DFMT_X8R8G8B8},  {1280, 720, 60, D3DFMT_X8R8G8B8},
            {1280, 1024, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}};
  }
  D3DDISPLAYMODE desktopMode() override { return {1920, 1080, 60, D3DFMT_X8R8G8B8}; }
  int maxSamples() override {
    context_->makeCurrent();
    return queryMaxSamples();
  }
  std::shared_ptr<GlContext> contextFor(HWND, std::string&) override {
    context_->makeCurrent();
    return context_;
  }

private:
  std::shared_ptr<GlContext> context_;
};

}  // namespace

std::shared_ptr<EglContext> EglContext::create(std::string& error) {
  if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
    error = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
    return nullptr;
  }
  EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0, minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    error = "cannot open the surfaceless EGL display";
    return nullptr;
  }
  EGLContext context = EGL_NO_CONTEXT;
  if (eglBindAPI(EGL_OPENGL_API)) context = createCoreContext(display);
  if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    eglTerminate(display);
    error = "the surfaceless EGL display gives no OpenGL 3.3+ core context";
    return nullptr;
  }
  std::shared_ptr<EglContext> made(new EglContext(display, context));
  if (!hasRequiredFeatures(error)) return nullptr;
  return made;
}

EglContext::~EglContext() {
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(display_, context_);
  eglTerminate(display_);
}

void EglContext::makeCurrent() {
  if (eglGetCurrentContext() != context_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
}

std::shared_ptr<GlContext> headlessContext(std::string& error) {
  static std::weak_ptr<EglContext> shared;
  std::shared_ptr<EglContext> context = shared.lock();
  if (!context) {
    context = EglContext::create(error);
    shared = context;
  }
  if (context) context->makeCurrent();
  return context;
}

std::unique_ptr<ContextProvider> makeHeadlessProvider(std::shared_ptr<GlContext> context) {
  return std::make_unique<HeadlessProvider>(std::move(context));
}

}  // namespace d3d9::gl
