// SDL window contexts and the windowed provider.
#include "platform/d3d9/gl/SdlContext.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>

namespace d3d9::gl {

namespace {

constexpr int kVersions[][2] = {{4, 5}, {3, 3}};

SDL_GLContext createCoreContext(SDL_Window* window) {
  for (const auto& version : kVersions) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, version[0]);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, version[1]);
    if (SDL_GLContext context = SDL_GL_CreateContext(window)) return context;
  }
  return nullptr;
}

D3DFORMAT formatOf(Uint32 pixelFormat) {
  return SDL_BITSPERPIXEL(pixelFormat) == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
}

D3DDISPLAYMODE modeOf(const SDL_DisplayMode& mode) {
  return {UINT(mode.w), UINT(mode.h), UINT(mode.refresh_rate), formatOf(mode.format)};
}

class WindowedProvider final : public ContextProvider {
public:
  explicit WindowedProvider(WindowResolver resolveWindow) : resolveWindow_(std::move(resolveWindow)) {}
  bool ready() const { return video_.ready(); }

  // The display's modes, smallest first as Direct3D lists them, each size and rate once.
  std::vector<D3DDISPLAYMODE> modes() override {
    std::vector<D3DDISPLAYMODE> modes;
    for (int i = 0, count = SDL_GetNumDisplayModes(0); i < count; ++i) {
      SDL_DisplayMode mode{};
      if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(modeOf(mode));
    }
    auto key = [](const D3DDISPLAYMODE& m) { return std::tuple(m.Format, m.Width, m.Height, m.RefreshRate); };
    std::sort(modes.begin(), modes.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
    modes.erase(std::unique(modes.begin(), modes.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }),
                modes.end());
    return modes;
  }

  D3DDISPLAYMODE desktopMode() override {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0, 0, D3DFMT_X8R8G8B8};
    return modeOf(mode);
  }

  // Asked before any window exists (the setup dialog lists multisample types), so a hidden window
  // and context answer it once.
  int maxSamples() override {
    if (!maxSamples_) maxSamples_ = probeMaxSamples();
    return *maxSamples_;
  }

  std::shared_ptr<GlContext> contextFor(HWND window, std::string& error) override {
    SDL_Window* sdlWindow = resolveWindow_ ? resolveWindow_(window) : nullptr;
    if (!sdlWindow) {
      error = "the device window is not an SDL window";
      return nullptr;
    }
    return SdlContext::create(sdlWindow, error);
  }

private:
  static int probeMaxSamples() {
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return 0;
    int samples = 0;
    if (SDL_GLContext context = createCoreContext(window)) {
      samples = queryMaxSamples();
      SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    if (previous) SDL_GL_MakeCurrent(previousWindow, previous);
    return samples;
  }

  SdlVideo video_;
  WindowResolver resolveWindow_;
  std::optional<int> maxSamples_;
};

}  // namespace

SdlVideo::SdlVideo() : ready_(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {}

SdlVideo::~SdlVideo() {
  if (ready_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::shared_ptr<SdlContext> SdlContext::create(SDL_Window* window, std::string& error) {
  SDL_GLContext context = createCoreContext(window);
  if (!context) {
    error = std::string("no OpenGL 3.3+ core context on the window: ") + SDL_GetError();
    return nullptr;
  }
  std::shared_ptr<SdlContext> made(new SdlContext(window, context));
  made->makeCurrent();
  if (!hasRequiredFeatures(error)) return nullptr;
  return made;
}

SdlContext::~SdlContext() {
  if (SDL_GL_GetCurrentContext() == context_) SDL_GL_MakeCurrent(window_, nullptr);
  SDL_GL_DeleteContext(context_);
}

void SdlContext::makeCurrent() {
  if (SDL_GL_GetCurrentContext() != context_) SDL_GL_MakeCurrent(window_, context_);
}

void SdlContext::drawableSize(int& width, int& height) const { SDL_GL_GetDrawableSize(window_, &width, &height); }

WindowOverlay& windowOverlay() {
  static WindowOverlay overlay;
  return overlay;
}

void setWindowOverlay(WindowOverlay overlay) { windowOverlay() = std::move(overlay); }

void SdlContext::swapBuffers() {
  if (const WindowOverlay& overlay = windowOverlay()) {
    // The overlay draws in OpenGL's own conventions on the window's framebuffer; the device puts
    // its conventions back when it next draws.
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glFrontFace(GL_CCW);
    int width = 0, height = 0;
    drawableSize(width, height);
    overlay(width, height);
    stateOwner = nullptr;
  }
  SDL_GL_SwapWindow(window_);
}

bool SdlContext::setSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

std::unique_ptr<ContextProvider> makeWindowedProvider(WindowResolver resolveWindow) {
  auto provider = std::make_unique<WindowedProvider>(std::move(resolveWindow));
  if (!provider->ready()) {
    std::fprintf(stderr, "d3d9 gl: SDL video cannot start: %s\n", SDL_GetError());
    return nullptr;
  }
  return provider;
}

}  // namespace d3d9::gl
