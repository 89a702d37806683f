#include "app/Capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/ContactSheet.h"
#include "app/StartUp.h"
#include "tests/support/TempDir.h"
#include "timeline/SpectrumTrack.h"

namespace {

// Frame i is drawn at from + i / fps, and a capture holds exactly fps frames a second.
TEST(Capture, FrameTimesAreOnTheFixedStep) {
  auto times = app::captureTimes(92.0, 94.0, 10);
  ASSERT_EQ(times.size(), 20u);
  EXPECT_DOUBLE_EQ(times[0], 92.0);
  EXPECT_DOUBLE_EQ(times[19], 93.9);
  EXPECT_EQ(app::captureTimes(0.0, 280.7, 60).size(), 16842u);
  EXPECT_TRUE(app::captureTimes(5.0, 5.0, 30).empty());
}

TEST(Capture, FfmpegEncodesH264WithTheMusicOfTheSameInterval) {
  app::Options options;
  options.fps = 30;
  options.out = "/tmp/x.mp4";
  auto args = app::ffmpegArguments(options, {640, 480}, 12.5, 2.0, true);
  std::string line;
  for (const auto& a : args) line += a + " ";
  EXPECT_NE(line.find("-f rawvideo -pix_fmt rgba -s 640x480 -r 30 -i -"), std::string::npos) << line;
  EXPECT_NE(line.find("-ss 12.500000 -t 2.000000 -i RV07/Vemir-Red Kite.mp3"), std::string::npos) << line;
  EXPECT_NE(line.find("-c:v libx264"), std::string::npos);
  EXPECT_NE(line.find("-pix_fmt yuv420p"), std::string::npos);
  EXPECT_NE(line.find("-movflags +faststart -f mp4 /tmp/x.mp4.part"), std::string::npos);
  auto silent = app::ffmpegArguments(options, {640, 480}, 0, 2.0, false);
  EXPECT_EQ(std::find(silent.begin(), silent.end(), "-map"), silent.end());
}

// Faults caught: a capture cut short by a full disk (no index, or a box running past the end)
// taken for a finished file.
TEST(Capture, OnlyAWholeMp4PassesForFinished) {
  testsupport::TempDir dir;
  auto box = [](std::uint32_t size, const char* type) {
    std::string b = {char(size >> 24), char(size >> 16), char(size >> 8), char(size), type[0], type[1], type[2], type[3]};
    return b + std::string(size - 8, '\0');
  };
  const std::string whole = box(16, "ftyp") + box(24, "moov") + box(40, "mdat");
  struct Case {
    const char* name;
    std::string bytes;
    bool isWhole;
  } cases[] = {
      {"whole", whole, true},
      {"no index", box(16, "ftyp") + box(40, "mdat"), false},
      {"cut short", whole.substr(0, whole.size() - 5), false},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_EQ(app::mp4IsWhole(dir.write(c.name, c.bytes), reason), c.isWhole) << c.name;
    EXPECT_EQ(reason.empty(), c.isWhole) << c.name;
  }
}

// With a quiet spectrum the flash of the opening never runs; every other renderer gets a time at
// which the schedule really picks it, in the order of the show.
TEST(ContactSheet, EachRendererGetsATimeInsideItsOwnStretch) {
  timeline::SpectrumTrack quiet;
  auto entries = app::pickSheetTimes(quiet, app::kShowEnd);
  ASSERT_EQ(entries.size(), 13u);
  double previous = 0;
  for (const auto& e : entries) {
    auto call = timeline::scheduleFor(e.musicTime, quiet);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->renderer, e.renderer) << e.musicTime;
    EXPECT_GT(e.musicTime, previous);
    previous = e.musicTime;
  }
  EXPECT_EQ(entries.front().renderer, timeline::Renderer::openingScene);
  EXPECT_EQ(entries.back().renderer, timeline::Renderer::closingScene);
}

TEST(ContactSheet, FramesAreLaidOutInRowsWithALabelStrip) {
  d3d9::gl::Image red;
  red.width = 8;
  red.height = 6;
  red.rgba.assign(8 * 6 * 4, 0);
  for (std::size_t i = 0; i < red.rgba.size(); i += 4) red.rgba[i] = red.rgba[i + 3] = 255;
  auto sheet = app::composeSheet({red, red, red}, {"a", "b", "c"}, 2);
  EXPECT_EQ(sheet.width, 16u);
  ASSERT_GT(sheet.height, 12u);
  EXPECT_EQ(sheet.at(9, 0)[0], 255);                 // second frame, top row
  EXPECT_EQ(sheet.at(9, sheet.height / 2 + 1)[0], 0);  // the empty fourth cell stays black
}

}  // namespace
