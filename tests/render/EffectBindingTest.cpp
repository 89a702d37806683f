// The Begin/End bracket of an effect pass: key or current key, the pass check, and every message,
// on effects that record their calls.
#include "render/EffectBinding.h"

#include <gtest/gtest.h>

#include "tests/support/FakeEffect.h"
#include "tests/support/MessageBoxes.h"

namespace {

using testsupport::FakeEffect;
using testsupport::messageBoxLine;
using Calls = std::vector<std::string>;
using Boxes = std::vector<std::string>;

class EffectBindingTest : public testing::Test {
protected:
  FakeEffect* add(const char* key, UINT passes, bool technique = true) {
    auto* effect = new FakeEffect(passes, technique);
    effects.append(key, d3d9::ComPtr<ID3DXEffect>(effect));
    return effect;
  }
  assets::EffectStack effects;
  testsupport::TraceCapture capture;
};

TEST_F(EffectBindingTest, BeginStartsTheEffectAndItsPassEndClosesBoth) {
  FakeEffect* texture = add("texture", 1);
  FakeEffect* blur = add("blur", 2);
  render::beginEffect(effects, 0, "texture");
  render::endEffect(effects, "texture");
  render::beginEffect(effects, 1, "blur");
  render::endEffect(effects, "blur");
  EXPECT_EQ(texture->calls, (Calls{"Begin 0", "BeginPass 0", "EndPass", "End"}));
  EXPECT_EQ(blur->calls, (Calls{"Begin 0", "BeginPass 1", "EndPass", "End"}));
  EXPECT_TRUE(testsupport::messageBoxes(capture).empty());
}

TEST_F(EffectBindingTest, WithoutAKeyTheCurrentKeyIsUsed) {
  FakeEffect* blur = add("blur", 2);
  FakeEffect* texture = add("texture", 1);
  effects.currentKey = "texture";
  render::beginEffect(effects, 0);
  render::endEffect(effects);
  EXPECT_EQ(texture->calls, (Calls{"Begin 0", "BeginPass 0", "EndPass", "End"}));
  EXPECT_TRUE(blur->calls.empty());
  // A key given explicitly wins over the current key.
  render::beginEffect(effects, 1, "blur");
  EXPECT_EQ(blur->calls, (Calls{"Begin 0", "BeginPass 1"}));
}

TEST_F(EffectBindingTest, NoKeyAndNoCurrentKeyTouchesNoEffect) {
  FakeEffect* blur = add("blur", 2);
  render::beginEffect(effects, 0);
  render::endEffect(effects);
  EXPECT_TRUE(blur->calls.empty());
  std::string box = messageBoxLine("CurrentRef & Ref == NULL", "Effect");
  EXPECT_EQ(testsupport::messageBoxes(capture), (Boxes{box, box}));
}

TEST_F(EffectBindingTest, AnUnknownKeyReportsNoMatchOnceAndDoesNothingElse) {
  FakeEffect* blur = add("blur", 2);
  render::beginEffect(effects, 0, "Blur");
  render::endEffect(effects, "Blur");
  EXPECT_TRUE(blur->calls.empty());
  EXPECT_EQ(testsupport::messageBoxes(capture),
            (Boxes{messageBoxLine("Blur", "No Match"), messageBoxLine("Blur", "No Match")}));
}

// Pass 3 of a two-pass effect: the message with the key, 2 and 3 (two blanks after the dash, the
// line feed kept); no pass is begun, and End still ends the pass and the effect.
TEST_F(EffectBindingTest, APassPastTheCountIsReportedAndNotBegun) {
  FakeEffect* blur = add("blur", 2);
  render::beginEffect(effects, 3, "blur");
  render::endEffect(effects, "blur");
  EXPECT_EQ(blur->calls, (Calls{"Begin 0", "EndPass", "End"}));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            Boxes{messageBoxLine("Effect[blur] -  has MaxPasses[2] and cannot use Pass[3]\n", "Effect Error [Begin]")});
}

// Pass numbers start at 0, so pass 2 of two passes is one too many as well.
TEST_F(EffectBindingTest, APassEqualToTheCountIsRefusedToo) {
  FakeEffect* blur = add("blur", 2);
  render::beginEffect(effects, 2, "blur");
  EXPECT_EQ(blur->calls, (Calls{"Begin 0"}));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            Boxes{messageBoxLine("Effect[blur] -  has MaxPasses[2] and cannot use Pass[2]\n", "Effect Error [Begin]")});
}

TEST_F(EffectBindingTest, AnEffectWithoutTechniqueIsReportedAndNotBegun) {
  FakeEffect* plain = add("plain", 1, false);
  render::beginEffect(effects, 0, "plain");
  EXPECT_TRUE(plain->calls.empty());
  EXPECT_EQ(testsupport::messageBoxes(capture),
            Boxes{messageBoxLine("Begin[Ref == plain] Doesn't Have An Current Technique", "Effect->Begin")});
}

// A key too long for the 64-byte text is cut (63 characters and the terminator); the message is
// still shown, and the line feed at the end of the pass text is cut with it.
TEST_F(EffectBindingTest, KeysTooLongForTheTextAreCut) {
  std::string key(70, 'k');
  add(key.c_str(), 1, false);
  std::string other(40, 'q');
  add(other.c_str(), 1);
  render::beginEffect(effects, 0, key.c_str());
  render::beginEffect(effects, 5, other.c_str());
  std::string technique = ("Begin[Ref == " + key).substr(0, 63);
  std::string pass = ("Effect[" + other + "] -  has MaxPasses[1] and cannot use Pass[5]\n").substr(0, 63);
  EXPECT_EQ(technique.size(), 63u);
  EXPECT_EQ(testsupport::messageBoxes(capture), (Boxes{messageBoxLine(technique, "Effect->Begin"),
                                                       messageBoxLine(pass, "Effect Error [Begin]")}));
}

}  // namespace
