// Installing the OpenGL backend and reading frames back.
#include "platform/d3d9/gl/GlBackend.h"

#include <cstdio>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/gl/EglContext.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "platform/d3d9/gl/GlDirect3D.h"
#include "platform/d3d9/gl/SdlContext.h"

namespace d3d9::gl {

void installHeadless() {
  useBackend([]() -> IDirect3D9* {
    std::string error;
    auto context = headlessContext(error);
    if (!context) {
      std::fprintf(stderr, "d3d9 gl: no headless OpenGL: %s\n", error.c_str());
      return nullptr;
    }
    return new GlDirect3D(makeHeadlessProvider(std::move(context)));
  });
}

bool headlessAvailable(std::string& reason) { return headlessContext(reason) != nullptr; }

void installWindowed(std::function<SDL_Window*(HWND)> resolveWindow) {
  useBackend([resolveWindow = std::move(resolveWindow)]() -> IDirect3D9* {
    auto provider = makeWindowedProvider(resolveWindow);
    if (!provider) return nullptr;
    return new GlDirect3D(std::move(provider));
  });
}

Image presentedImage(IDirect3DDevice9* device) {
  auto* glDevice = device ? dynamic_cast<GlDevice*>(device) : nullptr;
  return glDevice ? glDevice->presentedImage() : Image{};
}

void waitForDevice(IDirect3DDevice9* device) {
  if (auto* glDevice = device ? dynamic_cast<GlDevice*>(device) : nullptr) glDevice->finish();
}

}  // namespace d3d9::gl
