// The result-code table and the 64-byte cut of formatted texts.
#include "assets/HresultMessage.h"

#include <gtest/gtest.h>

#include "platform/d3dx9/d3dx9.h"
#include "tests/support/MessageBoxes.h"

namespace {

TEST(HresultMessage, EachCodeHasItsTextAndOthersTheFallback) {
  EXPECT_EQ(assets::hresultMessageText(E_OUTOFMEMORY, "sky1"), "OutOfMemory With sky1");
  EXPECT_EQ(assets::hresultMessageText(D3DERR_OUTOFVIDEOMEMORY, "sky1"), "OutOfVideoMemory With sky1");
  EXPECT_EQ(assets::hresultMessageText(D3DERR_INVALIDCALL, "Kaviar"), "InvalidCall With Kaviar");
  EXPECT_EQ(assets::hresultMessageText(D3DXERR_INVALIDDATA, "a.mesh"), "InvalidData With a.mesh");
  EXPECT_EQ(assets::hresultMessageText(E_FAIL, "blur"), "No Case With blur - Everything Should Be Fine");
  EXPECT_EQ(assets::hresultMessageText(D3D_OK, "x"), "No Case With x - Everything Should Be Fine");
  EXPECT_EQ(assets::hresultMessageText(E_FAIL, nullptr), "No Case With  - Everything Should Be Fine");
}

// 64 bytes hold 63 characters and the terminator: a long subject is cut, the text still shown.
TEST(HresultMessage, LongSubjectsAreCutTo63Characters) {
  std::string subject(100, 'k');
  std::string text = assets::hresultMessageText(E_FAIL, subject.c_str());
  EXPECT_EQ(text.size(), assets::kMessageBytes - 1);
  EXPECT_EQ(text, "No Case With " + std::string(50, 'k'));
  EXPECT_EQ(assets::formatMessage("%s", subject.c_str()), std::string(63, 'k'));
  EXPECT_EQ(assets::formatMessage("%s", std::string(63, 'a').c_str()), std::string(63, 'a'));

  testsupport::TraceCapture capture;
  assets::showHresultMessage(E_OUTOFMEMORY, "TextureStack", subject.c_str());
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{testsupport::messageBoxLine("OutOfMemory With " + std::string(46, 'k'),
                                                                 "TextureStack")});
}

}  // namespace
