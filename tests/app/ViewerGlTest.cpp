// The status bar and --watch on the headless OpenGL device (llvmpipe here).
#include <gtest/gtest.h>

#include <chrono>

#include "app/EffectWatcher.h"
#include "app/StatusBar.h"
#include "tests/platform/gl/GlFixture.h"
#include "tests/support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using gltest::Rgb;

// A full-screen quad painted with `tint`, swizzled by `expression`.
std::string paintEffect(const char* expression) {
  return std::string(R"(--- common
uniform vec4 tint;
--- vertex quad
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = vec4(inPosition, 1.0); }
--- fragment paint
out vec4 colour;
void main() { colour = )") + expression + R"(; }
--- pass 0 quad paint cull=none zenable=false
)";
}

class ViewerGl : public gltest::GlFixture {
protected:
  Rgb drawWith(ID3DXEffect* effect) {
    clear(0);
    device->BeginScene();
    UINT passes = 0;
    effect->Begin(&passes, 0);
    effect->BeginPass(0);
    draw(gltest::fullScreen());
    effect->EndPass();
    effect->End();
    device->EndScene();
    return gltest::pixel(present(), gltest::kWidth / 2, gltest::kHeight / 2);
  }
};

// The bar is drawn only on a window's frame: a headless frame with the bar installed and shown
// is the frame without it, pixel for pixel.
TEST_F(ViewerGl, TheStatusBarNeverReachesAHeadlessFrame) {
  clear(D3DCOLOR_XRGB(20, 40, 60));
  d3d9::gl::Image without = present();
  app::StatusBar bar;
  bar.update(app::StatusLine{"secondScene", 30, 280.7, 1 / 60.0, false, "x.fx(3): error"});
  int overlays = 0;
  d3d9::gl::setWindowOverlay([&](int width, int height) {
    ++overlays;
    bar.draw(width, height);
  });
  clear(D3DCOLOR_XRGB(20, 40, 60));
  d3d9::gl::Image with = present();
  d3d9::gl::setWindowOverlay({});
  EXPECT_EQ(overlays, 0);
  EXPECT_EQ(with.rgba, without.rgba);
}

// A rewritten effect takes over with the values that were set; a broken one keeps the old effect
// and reports "path(line): message"; nothing is compiled while the files stay as they are.
TEST_F(ViewerGl, WatchedEffectsReloadWhenTheirFilesChange) {
  testsupport::TempDir dir;
  std::string path = dir.write("paint.fx", paintEffect("tint"));
  assets::EffectStack effects;
  d3d9::ComPtr<ID3DXEffect> effect;
  ASSERT_EQ(D3DXCreateEffectFromFileA(device.get(), path.c_str(), nullptr, nullptr, 0, nullptr, effect.put(), nullptr),
            D3D_OK);
  effects.append("paint", effect);
  const float red[4] = {1, 0, 0, 1};
  effect->SetFloatArray("tint", red, 4);
  EXPECT_TRUE(gltest::near(drawWith(effect.get()), {255, 0, 0}));

  app::EffectWatcher watcher;
  watcher.watch(effects);
  auto now = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  watcher.poll(now);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // unchanged: no compile

  dir.write("paint.fx", paintEffect("tint.gbra"));
  testing::internal::CaptureStderr();
  watcher.poll(now + app::kWatchInterval / 2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // too soon after the last look
  testing::internal::CaptureStderr();
  watcher.poll(now + app::kWatchInterval);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("reloaded"), std::string::npos);
  EXPECT_TRUE(gltest::near(drawWith(effect.get()), {0, 0, 255}));  // tint kept, new shader
  EXPECT_EQ(watcher.lastError(), "");

  dir.write("paint.fx", paintEffect("tint +"));
  testing::internal::CaptureStderr();
  watcher.poll(now + 2 * app::kWatchInterval);
  std::string reported = testing::internal::GetCapturedStderr();
  EXPECT_EQ(watcher.lastError().rfind(path + "(", 0), 0u) << "[" << watcher.lastError() << "] " << reported;
  EXPECT_NE(reported.find(watcher.lastError()), std::string::npos);
  EXPECT_TRUE(gltest::near(drawWith(effect.get()), {0, 0, 255}));

  dir.write("paint.fx", paintEffect("tint.grba"));
  testing::internal::CaptureStderr();
  watcher.poll(now + 3 * app::kWatchInterval);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(watcher.lastError(), "");
  EXPECT_TRUE(gltest::near(drawWith(effect.get()), {0, 255, 0}));  // mended: the new file takes over
}

}  // namespace
