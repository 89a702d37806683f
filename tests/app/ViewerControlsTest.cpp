#include "app/ViewerControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "app/AppWindow.h"
#include "platform/win32/Keyboard.h"
#include "tests/platform/audio/ToneMp3.h"

namespace {

using namespace std::chrono_literals;

constexpr double kLength = 60.0;
constexpr int kRate = 22050;
constexpr double kFrame = 1.0 / kRate;

const testsupport::ScratchFile& musicFile() {
  static testsupport::ScratchFile file("viewer-60s.mp3");
  static bool written = file.write(testsupport::encodeMp3(testsupport::tone(kRate, 2, kLength, 440.0, 0.3), kRate, 2, 9));
  EXPECT_TRUE(written);
  return file;
}

// The slot starts by hand: 0, 21.4, 47.7, 69.4, 91, 119.8, 154.64, 176, 220, 253.45, 266.35.
TEST(SlotSeeks, PageKeysGoToTheNeighbouringSlotStarts) {
  struct Case {
    double now;
    std::optional<double> previous, next;
  };
  const Case cases[] = {
      {0.0, std::nullopt, 21.4},   {10.0, 0.0, 21.4},    {21.4, 0.0, 47.7},
      {21.38, 0.0, 47.7},          {30.0, 0.0, 47.7},    {50.0, 21.4, 69.4},
      {154.64, 119.8, 176.0},      {260.0, 220.0, 266.35}, {270.0, 253.45, std::nullopt},
  };
  for (const Case& c : cases) {
    auto previous = app::previousSlotStart(c.now), next = app::nextSlotStart(c.now);
    ASSERT_EQ(previous.has_value(), c.previous.has_value()) << c.now;
    ASSERT_EQ(next.has_value(), c.next.has_value()) << c.now;
    EXPECT_NEAR(previous.value_or(-1), c.previous.value_or(-1), 1e-5) << c.now;
    EXPECT_NEAR(next.value_or(-1), c.next.value_or(-1), 1e-5) << c.now;
  }
}

// (900, 0) where the window fits; moved left just enough where it does not, never off the left.
TEST(WindowPlacement, StaysOnTheDesktop) {
  struct Case {
    int desktopWidth, desktopHeight, width, height;
    LONG x, y;
  };
  const Case cases[] = {{1920, 1080, 800, 600, 900, 0}, {1700, 1080, 800, 600, 900, 0}, {1280, 800, 800, 600, 480, 0},
                        {800, 600, 800, 600, 0, 0},     {640, 480, 800, 600, 0, 0},     {0, 0, 800, 600, 900, 0}};
  for (const Case& c : cases) {
    POINT at = app::windowedPosition(c.desktopWidth, c.desktopHeight, c.width, c.height);
    EXPECT_EQ(at.x, c.x) << c.desktopWidth;
    EXPECT_EQ(at.y, c.y) << c.desktopWidth;
  }
}

// The music on SDL's dummy driver, the controls fed by the window's own pump from posted messages.
class ViewerKeys : public testing::Test {
protected:
  static constexpr int kClientWidth = 824, kClientHeight = 600;

  void SetUp() override {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    MSG drain;
    while (PeekMessageA(&drain, nullptr, 0, 0, PM_REMOVE)) {
    }
    music.open(musicFile().path().c_str());
    ASSERT_NE(music.channel(), 0u);
    music.start();
    app::appWindow().onInput = [this](const MSG& message) { controls.handle(message, kClientWidth, kClientHeight); };
  }
  void TearDown() override {
    app::appWindow().onInput = nullptr;
    music.end();
    ::unsetenv("SDL_AUDIODRIVER");
  }

  // One frame's pump taking one posted message.
  void post(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    PostMessageA(nullptr, message, wParam, lParam);
    EXPECT_TRUE(app::appWindow().pump());
  }
  void press(int key) { post(WM_KEYDOWN, static_cast<WPARAM>(key)); }

  timeline::MusicStream music;
  app::ViewerControls controls{music, false};
};

TEST_F(ViewerKeys, SpaceHoldsTheMusicTimeOverFramesUntilPressedAgain) {
  music.seekTo(30.0);
  press(VK_SPACE);
  ASSERT_TRUE(music.paused());
  const double held = music.musicTime();
  for (int frame = 0; frame < 5; ++frame) {
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(app::appWindow().pump());
    EXPECT_EQ(music.musicTime(), held);
  }
  post(WM_KEYDOWN, VK_SPACE, LPARAM{1} << 30);  // the key held down repeats: still paused
  EXPECT_TRUE(music.paused());
  press(VK_SPACE);
  EXPECT_FALSE(music.paused());
  std::this_thread::sleep_for(60ms);
  EXPECT_GT(music.musicTime(), held + 0.03);
}

// Paused, so each landing is exact; seeks keep the music paused or playing as it was.
TEST_F(ViewerKeys, SeekKeysLandWhereTheyShouldAndClampAtBothEnds) {
  struct Case {
    double from;
    int key;
    double to;
  };
  const Case cases[] = {
      {30.0, VK_NEXT, 47.7}, {21.4, VK_NEXT, 47.7}, {50.0, VK_NEXT, kLength}, {50.0, VK_PRIOR, 21.4}, {21.4, VK_PRIOR, 0.0},
      {10.0, VK_LEFT, 5.0},  {3.0, VK_LEFT, 0.0},   {10.0, VK_RIGHT, 15.0}, {58.0, VK_RIGHT, kLength},
      {40.0, VK_HOME, 0.0},  {0.0, VK_PRIOR, 0.0},  {40.0, 'Q', 40.0},
  };
  press(VK_SPACE);
  for (const Case& c : cases) {
    music.seekTo(c.from);
    press(c.key);
    EXPECT_NEAR(music.musicTime(), c.to, 2 * kFrame) << c.from << " key " << c.key;
    EXPECT_TRUE(music.paused());
  }
  press(VK_SPACE);
  press(VK_RIGHT);
  EXPECT_FALSE(music.paused());
}

TEST_F(ViewerKeys, TheSeekBarTakesClicksOnlyWhileShownAndFollowsADrag) {
  const app::StatusBarLayout bar = app::statusBarLayout(kClientWidth, kClientHeight);
  const int y = static_cast<int>(bar.seekTop) + 2;
  const int middle = static_cast<int>((bar.seekLeft + bar.seekRight) / 2);
  press(VK_SPACE);
  music.seekTo(10.0);
  post(WM_LBUTTONDOWN, 0, MAKELPARAM(middle, y));
  EXPECT_NEAR(music.musicTime(), 10.0, 2 * kFrame);  // hidden: nothing to click

  press('H');
  ASSERT_TRUE(controls.statusBarShown());
  const double pixel = kLength / (bar.seekRight - bar.seekLeft);
  post(WM_LBUTTONDOWN, 0, MAKELPARAM(middle, y));
  EXPECT_NEAR(music.musicTime(), kLength / 2, pixel);
  post(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<int>(bar.seekRight) + 40, y));
  EXPECT_NEAR(music.musicTime(), kLength, 2 * kFrame);
  post(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<int>(bar.seekRight), y));
  post(WM_MOUSEMOVE, 0, MAKELPARAM(middle, y));
  EXPECT_NEAR(music.musicTime(), kLength, 2 * kFrame);  // released: a move is only a move
  post(WM_LBUTTONDOWN, 0, MAKELPARAM(middle, static_cast<int>(bar.top) - 5));
  EXPECT_NEAR(music.musicTime(), kLength, 2 * kFrame);  // above the bar: the picture, not the bar
  press('H');
  EXPECT_FALSE(controls.statusBarShown());
}

TEST_F(ViewerKeys, TheEndEndsTheShowOrWithLoopStartsItAgain) {
  const float endTime = music.endTime();
  music.seekTo(kLength);
  EXPECT_FALSE(controls.finished(endTime - 0.01, endTime));
  EXPECT_TRUE(controls.finished(music.musicTime(), endTime));

  app::ViewerControls looping(music, true);
  EXPECT_FALSE(looping.finished(music.musicTime(), endTime));
  EXPECT_LT(music.musicTime(), 0.1);
  EXPECT_FALSE(music.paused());
}

// The program's own loop: every frame is drawn at the one time read for it, the times never go
// back, and the last frame drawn is the first one past the end time.
TEST_F(ViewerKeys, TheLoopEndsAfterTheFirstFramePastTheEnd) {
  const float endTime = music.endTime();
  music.seekTo(endTime - 0.2);
  std::vector<double> drawn;
  int pumped = 0;
  app::runFrameLoop(
      music, controls,
      [&](double t, double) {
        drawn.push_back(t);
        std::this_thread::sleep_for(4ms);
      },
      [&](auto) { ++pumped; });
  ASSERT_GE(drawn.size(), 3u);
  EXPECT_EQ(pumped, static_cast<int>(drawn.size()));
  EXPECT_GT(drawn.back(), endTime);
  for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
    EXPECT_LE(drawn[i], endTime) << i;
    EXPECT_LE(drawn[i], drawn[i + 1]) << i;
  }
}

// With --loop the frame after the end is at the start again; Escape then ends the loop at once.
TEST_F(ViewerKeys, WithLoopTheShowGoesOnFromTheStartUntilEscape) {
  app::ViewerControls looping(music, true);
  music.seekTo(music.endTime() - 0.05);
  std::vector<double> drawn;
  app::runFrameLoop(
      music, looping,
      [&](double t, double) {
        drawn.push_back(t);
        std::this_thread::sleep_for(4ms);
        if (drawn.size() > 1 && t < 1.0) win32::setKeyStateForTesting(VK_ESCAPE, true);
      },
      {});
  win32::setKeyStateForTesting(VK_ESCAPE, false);
  GetAsyncKeyState(VK_ESCAPE);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_LT(drawn.back(), 1.0);
  EXPECT_GT(*std::max_element(drawn.begin(), drawn.end()), music.endTime());
}

}  // namespace
