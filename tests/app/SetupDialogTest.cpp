#include "app/SetupDialog.h"

#include <gtest/gtest.h>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "tests/support/TraceCapture.h"

namespace {

using d3d9::ComPtr;

ComPtr<IDirect3D9> adapter(const d3d9::trace::AdapterConfig& config) {
  d3d9::trace::install(config);
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  d3d9::useBackend({});
  return d3d;
}

D3DDISPLAYMODE mode(UINT w, UINT h, UINT hz) { return {w, h, hz, D3DFMT_X8R8G8B8}; }

// Narrow and fast modes are left out, entries keep the index of the mode they stand for with the
// padding of their format, and Run sets exactly the mode the chosen entry shows.
TEST(SetupDialog, ResolutionListFiltersPadsAndRunsTheModeItShows) {
  d3d9::trace::AdapterConfig config;
  config.modes = {mode(639, 480, 60),  mode(640, 480, 60),  mode(800, 600, 60),   mode(800, 600, 120),
                  mode(800, 600, 75),  mode(1024, 768, 119), mode(1280, 1024, 144), mode(1920, 1080, 60),
                  mode(1920, 1200, 60), mode(2560, 1440, 60), mode(3840, 2160, 30)};
  auto d3d = adapter(config);
  app::SetupDialog dialog(d3d.get());
  dialog.initialise();
  std::vector<std::string> texts;
  for (const auto& entry : dialog.resolutions) texts.push_back(entry.text);
  EXPECT_EQ(texts, (std::vector<std::string>{" 1:  640x 480@60Hz", " 2:  800x 600@60Hz", " 4:  800x 600@75Hz",
                                             " 5: 1024x 768@119Hz", " 7: 1920x1080@60Hz", " 8: 1920x1200@60Hz",
                                             " 9: 2560x1440@60Hz", "10: 3840x2160@30Hz"}));
  // The last 800 x 600 entry is the default.
  EXPECT_EQ(dialog.resolution, 2);
  EXPECT_TRUE(dialog.fullscreen);
  EXPECT_TRUE(dialog.vsync);

  dialog.resolution = 4;  // " 7: 1920x1080@60Hz"
  dialog.fullscreen = false;
  dialog.vsync = false;
  app::DisplaySettings settings;
  ASSERT_TRUE(dialog.run(settings));
  EXPECT_EQ(settings.width, 1920u);
  EXPECT_EQ(settings.height, 1080u);
  EXPECT_EQ(settings.refreshRate, 60u);
  EXPECT_EQ(settings.format, D3DFMT_X8R8G8B8);
  EXPECT_FALSE(settings.fullscreen);  // an unchecked box never clears it, and it starts false
  EXPECT_FALSE(settings.vsync);
}

TEST(SetupDialog, WithoutAn800x600ModeTheFirstEntryIsTheDefault) {
  d3d9::trace::AdapterConfig config;
  config.modes = {mode(1024, 768, 60), mode(1280, 720, 60)};
  auto d3d = adapter(config);
  app::SetupDialog dialog(d3d.get());
  dialog.initialise();
  EXPECT_EQ(dialog.resolution, 0);
}

// "2x" becomes the default only when at least three rows pass; the list stops at the first
// refused row even if later rows would pass.
TEST(SetupDialog, MultisamplingListStopsAtTheFirstRefusalAndPicksItsDefault) {
  d3d9::trace::AdapterConfig config;
  config.multisample = {D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_8_SAMPLES};
  auto d3d = adapter(config);
  app::SetupDialog dialog(d3d.get());
  dialog.initialise();
  ASSERT_EQ(dialog.multisampling.size(), 2u);
  EXPECT_EQ(dialog.multisample, 0);

  config.multisample = {D3DMULTISAMPLE_2_SAMPLES, D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_TYPE(6)};
  auto wider = adapter(config);
  app::SetupDialog second(wider.get());
  second.initialise();
  ASSERT_EQ(second.multisampling.size(), 4u);
  EXPECT_STREQ(second.multisampling[3]->text, "6x Multisampling");
  EXPECT_EQ(second.multisample, 1);
  app::DisplaySettings settings;
  second.multisample = 2;
  ASSERT_TRUE(second.run(settings));
  EXPECT_EQ(settings.multiSampleType, D3DMULTISAMPLE_4_SAMPLES);
}

TEST(SetupDialog, AspectDefaultFollowsTheDesktop) {
  struct Case {
    UINT w, h;
    int expected;
  } cases[] = {{1024, 768, 0}, {1280, 1024, 0}, {1440, 900, 1}, {1680, 1050, 1}, {1920, 1080, 2}, {2560, 1080, 2},
               {1366, 768, 2}, {1400, 1050, 0}};
  for (const Case& c : cases) {
    d3d9::trace::AdapterConfig config;
    config.desktop = mode(c.w, c.h, 60);
    auto d3d = adapter(config);
    app::SetupDialog dialog(d3d.get());
    dialog.initialise();
    EXPECT_EQ(dialog.aspect, c.expected) << c.w << "x" << c.h;
  }
}

TEST(SetupDialog, NoModesShowTheMessageAndRunRefuses) {
  d3d9::trace::AdapterConfig config;
  config.modes = {mode(1024, 768, 60)};
  config.modes[0].Format = D3DFMT_R5G6B5;
  auto d3d = adapter(config);
  testsupport::TraceCapture capture;
  testing::internal::CaptureStderr();
  app::SetupDialog dialog(d3d.get());
  dialog.initialise();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(capture.lines,
            std::vector<std::string>{
                R"({"ev":"messageBox","text":"Somethings Terribly Wrong","caption":"GetAdapterModeCount = 0"})"});
  EXPECT_TRUE(dialog.resolutions.empty());
  EXPECT_TRUE(dialog.multisampling.empty());
  app::DisplaySettings settings;
  EXPECT_FALSE(dialog.run(settings));
  EXPECT_EQ(settings.width, 0u);
}

}  // namespace
