#include "app/AppWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Frame.h"
#include "render/Device.h"
#include "platform/d3d9/Backend.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "platform/win32/Keyboard.h"
#include "tests/support/TraceCapture.h"

namespace {

using d3d9::trace::Call;

// Message boxes go to standard error too; keep test output quiet and collect the trace.
struct Quiet {
  Quiet() { testing::internal::CaptureStderr(); }
  ~Quiet() { testing::internal::GetCapturedStderr(); }
};

std::vector<std::string> messageBoxes(const std::vector<std::string>& lines) {
  std::vector<std::string> boxes;
  for (const auto& line : lines)
    if (line.find("\"messageBox\"") != std::string::npos) boxes.push_back(line);
  return boxes;
}

class StartUpTest : public testing::Test {
protected:
  void SetUp() override {
    app::displaySettings() = app::DisplaySettings{};
    app::displaySettings().width = 640;
    app::displaySettings().height = 480;
    app::displaySettings().format = D3DFMT_X8R8G8B8;
  }
  void TearDown() override {
    app::appWindow().destroy();
    d3d9::useBackend({});
  }
  // Device creation with the trace backend, without a window.
  bool createDevice(d3d9::trace::AdapterConfig config = {}) {
    d3d9::trace::install(config, failures);
    *app::deviceState().d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
    return app::createDevice(nullptr);
  }
  std::shared_ptr<d3d9::trace::FailurePlan> failures = std::make_shared<d3d9::trace::FailurePlan>();
};

TEST_F(StartUpTest, DeviceGetsTheChosenPresentParametersAndSurfaces) {
  app::displaySettings().multiSampleType = D3DMULTISAMPLE_4_SAMPLES;
  app::displaySettings().vsync = false;
  ASSERT_TRUE(createDevice());
  auto& device = dynamic_cast<d3d9::trace::TraceDevice&>(*app::deviceState().device);
  const D3DPRESENT_PARAMETERS& pp = device.presentParameters();
  EXPECT_EQ(pp.BackBufferWidth, 640u);
  EXPECT_EQ(pp.BackBufferCount, 3u);
  EXPECT_EQ(pp.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(pp.Windowed, TRUE);
  EXPECT_EQ(pp.EnableAutoDepthStencil, FALSE);
  EXPECT_EQ(pp.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
  // The depth surface matches the back buffer's multisampling and is the device's.
  D3DSURFACE_DESC depth{};
  app::deviceState().depthStencil->GetDesc(&depth);
  EXPECT_EQ(depth.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
  EXPECT_EQ(depth.Format, D3DFMT_D24X8);
  EXPECT_STREQ(app::deviceState().backBuffer->GetDebugName(), "backbuffer");
}

// Fullscreen asks for the chosen refresh rate and is not windowed; vsync waits for the default
// interval, no vsync presents at once.
TEST_F(StartUpTest, FullscreenAndVsyncChooseTheirPresentParameters) {
  struct Case {
    bool fullscreen, vsync;
    BOOL windowed;
    UINT refresh;
    UINT interval;
  };
  const Case cases[] = {{false, true, TRUE, 0, D3DPRESENT_INTERVAL_DEFAULT},
                        {true, true, FALSE, 75, D3DPRESENT_INTERVAL_DEFAULT},
                        {true, false, FALSE, 75, D3DPRESENT_INTERVAL_IMMEDIATE}};
  for (const Case& c : cases) {
    app::appWindow().destroy();
    app::displaySettings().fullscreen = c.fullscreen;
    app::displaySettings().vsync = c.vsync;
    app::displaySettings().refreshRate = 75;
    ASSERT_TRUE(createDevice());
    const D3DPRESENT_PARAMETERS& pp = dynamic_cast<d3d9::trace::TraceDevice&>(*app::deviceState().device).presentParameters();
    EXPECT_EQ(pp.Windowed, c.windowed) << c.fullscreen << c.vsync;
    EXPECT_EQ(pp.FullScreen_RefreshRateInHz, c.refresh) << c.fullscreen << c.vsync;
    EXPECT_EQ(pp.PresentationInterval, c.interval) << c.fullscreen << c.vsync;
  }
}

// Each failing step shows its own text under "Error::D3D9Init" and start-up stops there.
TEST_F(StartUpTest, EachDeviceStepFailureShowsItsMessage) {
  struct Case {
    Call call;
    const char* text;
  } cases[] = {{Call::CreateDevice, "CreateDevice"},
               {Call::CreateDepthStencilSurface, "CreateDepthStencilSurface"},
               {Call::SetDepthStencilSurface, "SetDepthStencilSurface"},
               {Call::GetBackBuffer, "Get Backbuffer"}};
  for (const Case& c : cases) {
    failures = std::make_shared<d3d9::trace::FailurePlan>();
    failures->fail(c.call, E_OUTOFMEMORY);
    testsupport::TraceCapture capture;
    Quiet quiet;
    EXPECT_FALSE(createDevice()) << c.text;
    auto boxes = messageBoxes(capture.lines);
    ASSERT_EQ(boxes.size(), 1u) << c.text;
    EXPECT_EQ(boxes[0], std::string(R"({"ev":"messageBox","text":")") + c.text + R"(","caption":"Error::D3D9Init"})");
    app::appWindow().destroy();
  }
}

TEST_F(StartUpTest, WithoutHardwareTransformTheWarningIsShownOnceAndSoftwareProcessingUsed) {
  d3d9::trace::AdapterConfig config;
  config.hardwareTransform = false;
  testsupport::TraceCapture capture;
  Quiet quiet;
  ASSERT_TRUE(createDevice(config));
  EXPECT_EQ(messageBoxes(capture.lines),
            std::vector<std::string>{
                R"j({"ev":"messageBox","text":"No D3DDEVCAPS_HWTRANSFORMANDLIGHT (May Run Slow)","caption":"D3D9CAPS"})j"});
}

TEST_F(StartUpTest, FailedDirect3DCreateEndsStartUpBeforeTheDialog) {
  d3d9::useBackend({});
  bool dialogRan = false;
  testsupport::TraceCapture capture;
  Quiet quiet;
  EXPECT_FALSE(app::appWindow().create(app::kWindowTitle, [&](IDirect3D9*) {
    dialogRan = true;
    return 1;
  }));
  EXPECT_FALSE(dialogRan);
  EXPECT_EQ(messageBoxes(capture.lines),
            std::vector<std::string>{
                R"j({"ev":"messageBox","text":"Failed Direct3DCreate9(SDK_VERSION)","caption":"Error::D3D9Init"})j"});
}

TEST_F(StartUpTest, ExitInTheDialogAndAMissingDisplayEndStartUp) {
  d3d9::trace::install();
  EXPECT_FALSE(app::appWindow().create(app::kWindowTitle, [](IDirect3D9*) { return 0; }));
  app::appWindow().destroy();

  // With no video driver the window cannot open.
  ::setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  testsupport::TraceCapture capture;
  Quiet quiet;
  EXPECT_FALSE(app::appWindow().create(app::kWindowTitle, [](IDirect3D9*) { return 1; }));
  ::unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(messageBoxes(capture.lines),
            std::vector<std::string>{R"j({"ev":"messageBox","text":"CreateWindowEx()","caption":"ERROR"})j"});
  // A second class of the same name cannot be registered while the first is.
  testsupport::TraceCapture second;
  EXPECT_FALSE(app::appWindow().create(app::kWindowTitle, [](IDirect3D9*) { return 1; }));
  EXPECT_EQ(messageBoxes(second.lines),
            std::vector<std::string>{
                R"({"ev":"messageBox","text":"Failed To Register The Window Class.","caption":"ERROR"})"});
}

// Before the first slot and past the last one the frame is cleared to blue and not presented.
TEST_F(StartUpTest, DefaultFrameClearsToBlueAndPresentsNothing) {
  ASSERT_TRUE(createDevice());
  render::setDevice(app::deviceState().device.get());
  Quiet quiet;  // the stages' files are absent here; their messages do not matter to this test
  timeline::OrganStage organ;
  timeline::MainStage main;
  for (double t : {0.0, -1.0, 500.5}) {
    testsupport::TraceCapture capture;
    app::drawFrame(app::deviceState().device.get(), t, organ, main);
    ASSERT_EQ(capture.lines.size(), 5u);
    EXPECT_EQ(capture.lines[1], R"({"ev":"default"})");
    EXPECT_EQ(capture.lines[2], R"({"ev":"beginScene"})");
    EXPECT_EQ(capture.lines[3], R"({"ev":"clear","flags":["TARGET"],"color":"0x000000FF","z":1.0,"stencil":0})");
    EXPECT_EQ(capture.lines[4], R"({"ev":"endScene"})");
  }
  render::setDevice(nullptr);
}

// The window procedure and the pump, on messages posted by the test.
class PumpTest : public testing::Test {
protected:
  void SetUp() override {
    app::displaySettings() = app::DisplaySettings{};
    MSG drain;
    while (PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) {
    }
    GetAsyncKeyState(VK_ESCAPE);
  }
  void TearDown() override { win32::setKeyStateForTesting(VK_ESCAPE, false); }
};

TEST_F(PumpTest, WindowProcedureRefusesScreenSaverAndQuitsOnDestroyAndEscape) {
  EXPECT_EQ(app::windowProcedure(nullptr, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(app::windowProcedure(nullptr, WM_SYSCOMMAND, SC_MONITORPOWER, 0), 0);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // refusing posts nothing

  EXPECT_EQ(app::windowProcedure(nullptr, WM_KEYDOWN, 'O', 0), 0);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // a key other than Escape: no quit

  win32::setKeyStateForTesting(VK_ESCAPE, true);
  app::windowProcedure(nullptr, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  win32::setKeyStateForTesting(VK_ESCAPE, false);

  app::windowProcedure(nullptr, WM_DESTROY, 0, 0);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
}

TEST_F(PumpTest, OneMessagePerFrameAndEscapeEndsTheShow) {
  // Three screen-saver requests: each pump takes exactly one.
  for (int i = 0; i < 3; ++i) PostMessageA(nullptr, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(app::appWindow().pump());
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));

  // Escape held counts, so does a press since the last query.
  win32::setKeyStateForTesting(VK_ESCAPE, true);
  EXPECT_FALSE(app::appWindow().pump());
  win32::setKeyStateForTesting(VK_ESCAPE, false);
  EXPECT_TRUE(app::appWindow().pump());
}

// Closing the window posts the quit message; taking it ends the show, in a window or fullscreen.
TEST_F(PumpTest, TheQuitMessageOfAClosedWindowEndsTheShow) {
  for (bool fullscreen : {false, true}) {
    app::displaySettings().fullscreen = fullscreen;
    app::windowProcedure(nullptr, WM_DESTROY, 0, 0);
    EXPECT_FALSE(app::appWindow().pump());
  }
}

}  // namespace
