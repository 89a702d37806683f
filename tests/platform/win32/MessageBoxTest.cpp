#include "platform/win32/MessageBox.h"

#include <gtest/gtest.h>

#include "platform/win32/FilePath.h"
#include "tests/support/TraceCapture.h"

namespace {

// Every box reaches standard error and the trace; the modal box is shown only the first time a
// caption and text pair appears, so a message repeated every frame cannot lock the show.
TEST(MessageBox, EveryBoxIsLoggedButEachModalOnlyOnce) {
  testsupport::TraceCapture capture;
  std::vector<std::string> modal;
  win32::setModalPresenter([&](const char* text, const char* caption, UINT) { modal.push_back(std::string(caption) + "|" + text); });
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(nullptr, "No Match", "sky1", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "No Match", "sky1", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "No Match", "sky2", MB_OK), IDOK);
  std::string err = testing::internal::GetCapturedStderr();
  win32::setModalPresenter({});

  EXPECT_EQ(err, "sky1: No Match\nsky1: No Match\nsky2: No Match\n");
  ASSERT_EQ(capture.lines.size(), 3u);
  EXPECT_EQ(capture.lines[0], R"({"ev":"messageBox","text":"No Match","caption":"sky1"})");
  EXPECT_EQ(modal, (std::vector<std::string>{"sky1|No Match", "sky2|No Match"}));
}

TEST(MessageBox, NullTextsDoNotCrash) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);
  EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST(FilePath, BackslashesBecomeSlashes) {
  EXPECT_EQ(win32::hostPath("RV07\\syncdata\\fft.txt"), "RV07/syncdata/fft.txt");
  EXPECT_EQ(win32::hostPath("RV07/Vemir-Red Kite.mp3"), "RV07/Vemir-Red Kite.mp3");
  EXPECT_EQ(win32::openFile(nullptr, "rb"), nullptr);
  EXPECT_EQ(win32::openFile("no\\such\\file.mesh", "rb"), nullptr);
}

}  // namespace
