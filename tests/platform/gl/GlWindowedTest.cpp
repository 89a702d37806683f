// The windowed install on SDL's offscreen video driver (no display needed): the adapter from SDL's
// display, device creation through the window resolver, and Present onto a window of another size.
// Skips, saying why, where SDL cannot make an OpenGL window.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "tests/support/RequireGl.h"

namespace {

using d3d9::ComPtr;

const HWND kWindow = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
const HWND kUnknownWindow = reinterpret_cast<HWND>(std::uintptr_t{0x2000});

class GlWindowed : public testing::Test {
protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) REDKITE_WITHOUT_GL(std::string("no SDL video: ") + SDL_GetError());
    videoStarted_ = true;
    window_ = SDL_CreateWindow("gl_tests", 0, 0, 80, 60, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) REDKITE_WITHOUT_GL(std::string("no SDL OpenGL window: ") + SDL_GetError());
    d3d9::gl::installWindowed([this](HWND hwnd) -> SDL_Window* {
      asked.push_back(hwnd);
      return hwnd == kWindow ? window_ : nullptr;
    });
    *d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_TRUE(d3d);
  }

  void TearDown() override {
    device.reset();
    d3d.reset();
    d3d9::useBackend({});
    if (window_) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  D3DPRESENT_PARAMETERS presentParameters(D3DMULTISAMPLE_TYPE multisample) const {
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(64, 48, 3);
    pp.MultiSampleType = multisample;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return pp;
  }

  ComPtr<IDirect3D9> d3d;
  ComPtr<IDirect3DDevice9> device;
  std::vector<HWND> asked;

private:
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
};

// Faults caught: the adapter not reading SDL's display (no modes, no desktop mode), and device
// creation asking the resolver for the wrong window or going on without one.
TEST_F(GlWindowed, DeviceWindowIsResolvedAsDirect3DPicksIt) {
  EXPECT_GT(d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 0u);
  D3DDISPLAYMODE desktop{};
  ASSERT_EQ(d3d->GetAdapterDisplayMode(0, &desktop), D3D_OK);
  EXPECT_GT(desktop.Width, 0u);
  EXPECT_GT(desktop.Height, 0u);

  D3DPRESENT_PARAMETERS pp = presentParameters(D3DMULTISAMPLE_NONE);
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, kWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
            D3D_OK);
  ASSERT_EQ(asked, std::vector<HWND>{kWindow});
  device.reset();

  // hDeviceWindow, when given, is the window presented to.
  pp.hDeviceWindow = kUnknownWindow;
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, kWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
            D3DERR_NOTAVAILABLE);
  EXPECT_FALSE(device);
  EXPECT_EQ(asked.back(), kUnknownWindow);
}

// Faults caught: a multisampled back buffer blitted to the window without a 1:1 resolve first (GL
// refuses a scaled or flipped resolve and raises an error), and a windowed device that pretends to
// have a headless frame to read back.
TEST_F(GlWindowed, PresentScalesTheResolvedBackBufferOntoTheWindow) {
  DWORD quality = 0;
  if (d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE, D3DMULTISAMPLE_4_SAMPLES, &quality) !=
      D3D_OK)
    GTEST_SKIP() << "the driver has no 4x multisampling";
  D3DPRESENT_PARAMETERS pp = presentParameters(D3DMULTISAMPLE_4_SAMPLES);
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, kWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
            D3D_OK);
  auto& glDevice = dynamic_cast<d3d9::gl::GlDevice&>(*device.get());
  for (int frame = 0; frame < 2; ++frame) {
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(255, 0, 0), 1.0f, 0), D3D_OK);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  }
  EXPECT_EQ(glDevice.takeGlErrors(), 0u);
  EXPECT_TRUE(d3d9::gl::presentedImage(device.get()).empty());
}

}  // namespace
