// The show's window and device made by AppWindow::create on SDL's offscreen video driver (no
// display needed): windowed at its desktop position with the cursor shown, fullscreen as a popup
// with the cursor hidden; the status bar's overlay is drawn on the window's frames.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/AppWindow.h"
#include "platform/d3d9/Backend.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "tests/support/RequireGl.h"

namespace {

class WindowCreation : public testing::Test {
protected:
  void SetUp() override {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    app::displaySettings() = app::DisplaySettings{};
    app::displaySettings().width = 640;
    app::displaySettings().height = 480;
    app::displaySettings().format = D3DFMT_X8R8G8B8;
    app::displaySettings().refreshRate = 60;
    d3d9::gl::installWindowed(win32::sdlWindowOf);
  }
  void TearDown() override {
    app::appWindow().destroy();
    d3d9::useBackend({});
  }

  bool create(bool fullscreen) {
    app::displaySettings().fullscreen = fullscreen;
    return app::appWindow().create("redkite test", [](IDirect3D9*) { return 1; });
  }
};

TEST_F(WindowCreation, WindowedAtItsPlaceFullscreenAPopupWithoutCursor) {
  for (bool fullscreen : {false, true}) {
    if (!create(fullscreen)) REDKITE_WITHOUT_GL("no window or device on SDL's offscreen driver");
    HWND window = app::appWindow().window;
    EXPECT_EQ(win32::isFullscreen(window), fullscreen);
    // ShowCursor answers the new count: 1 when it was shown, 0 when the show had hidden it.
    int shown = ShowCursor(TRUE);
    ShowCursor(FALSE);
    EXPECT_EQ(shown, fullscreen ? 0 : 1) << fullscreen;
    if (fullscreen) ShowCursor(TRUE);
    if (!fullscreen) {
      POINT expected = app::windowedPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 640, 480);
      int x = -1, y = -1;
      SDL_GetWindowPosition(win32::sdlWindowOf(window), &x, &y);
      EXPECT_EQ(x, expected.x);
      EXPECT_EQ(y, expected.y);
    }
    app::appWindow().destroy();
  }
}

TEST_F(WindowCreation, TheOverlayIsDrawnOnEveryWindowFrame) {
  if (!create(false)) REDKITE_WITHOUT_GL("no window or device on SDL's offscreen driver");
  int calls = 0, width = 0, height = 0;
  d3d9::gl::setWindowOverlay([&](int w, int h) {
    ++calls;
    width = w;
    height = h;
  });
  IDirect3DDevice9* device = app::deviceState().device.get();
  for (int frame = 0; frame < 2; ++frame) EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  d3d9::gl::setWindowOverlay({});
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
}

}  // namespace
