#include "platform/trace/FrameTrace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "tests/support/TraceCapture.h"

namespace {

std::string jsonFloat(float v) {
  std::string s;
  trace::appendJsonFloat(s, v);
  return s;
}

// A float written to the trace must read back as exactly the same 32-bit value, and whole
// numbers must still look like floats ("93.0"), as the trace format shows them.
TEST(FrameTrace, FloatsRoundTripAndKeepAPoint) {
  EXPECT_EQ(jsonFloat(93.0f), "93.0");
  EXPECT_EQ(jsonFloat(0.6f), "0.6");
  EXPECT_EQ(jsonFloat(1.0f / 240.0f), "0.004166667");
  EXPECT_EQ(jsonFloat(-0.0f), "-0.0");
  for (float v : {1.0f / 3.0f, 3.14159265f, 1e-7f, 123456.78f, 1e30f, -2.5e-12f}) {
    std::string text = jsonFloat(v);
    EXPECT_EQ(std::strtof(text.c_str(), nullptr), v) << text;
  }
  EXPECT_EQ(jsonFloat(std::numeric_limits<float>::quiet_NaN()), "null");
  EXPECT_EQ(jsonFloat(std::numeric_limits<float>::infinity()), "null");
}

TEST(FrameTrace, LinesCarryEventFirstAndEscapePaths) {
  testsupport::TraceCapture capture;
  trace::frameTrace()
      .event("setTexture")
      .str("effect", "quarvdemo\\shaders\\blur.fx")
      .name("texture", nullptr)
      .boolean("on", true)
      .integer("n", -3)
      .hex("color", 0x00FF00FFu);
  float ps[] = {0.003125f, 1.0f};
  trace::frameTrace().event("setFloatArray").floats("v", ps).str("q", "a\"b\n");
  ASSERT_EQ(capture.lines.size(), 2u);
  EXPECT_EQ(capture.lines[0],
            R"({"ev":"setTexture","effect":"quarvdemo\\shaders\\blur.fx","texture":null,"on":true,"n":-3,)"
            R"("color":"0x00FF00FF"})");
  EXPECT_EQ(capture.lines[1], R"({"ev":"setFloatArray","v":[0.003125,1.0],"q":"a\"b\n"})");
}

TEST(FrameTrace, NothingIsWrittenWhileRecordingIsOff) {
  std::vector<std::string> lines;
  trace::frameTrace().setSink([&](std::string_view line) { lines.emplace_back(line); });
  trace::frameTrace().setSink({});
  EXPECT_FALSE(trace::frameTrace().recording());
  trace::frameTrace().event("present").str("x", "y");
  EXPECT_TRUE(lines.empty());
}

}  // namespace
