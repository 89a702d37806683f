#include "platform/win32/Keyboard.h"

#include <gtest/gtest.h>

#include "platform/win32/VirtualKeys.h"

namespace {

// The frame loop treats any non-zero result as "down", so a press bit that is never cleared would
// seek or quit for ever.
TEST(Keyboard, PressBitIsReportedOnceAndHeldStateWhileDown) {
  win32::setKeyStateForTesting('O', true);
  EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState('O')), 0x8001u);
  EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState('O')), 0x8000u);
  EXPECT_EQ(GetAsyncKeyState('I'), 0);
  win32::setKeyStateForTesting('O', false);
  EXPECT_EQ(GetAsyncKeyState('O'), 0);

  // A press the message pump saw and that is already over still shows once.
  win32::noteKeyPressed(VK_ESCAPE);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 1);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

TEST(Keyboard, CodesOutsideTheKeyRangeAreNeverDown) {
  win32::setKeyStateForTesting(300, true);
  win32::setKeyStateForTesting(-1, true);
  EXPECT_EQ(GetAsyncKeyState(300), 0);
  EXPECT_EQ(GetAsyncKeyState(-1), 0);
  EXPECT_EQ(GetAsyncKeyState(0), 0);
}

}  // namespace
