#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

app::ParseResult parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv{"redkite"};
  argv.insert(argv.end(), args.begin(), args.end());
  return app::parseCommandLine(int(argv.size()), argv.data());
}

TEST(CommandLine, NoArgumentsIsTheShowWithTheDialog) {
  auto result = parse({});
  ASSERT_TRUE(result.options);
  EXPECT_EQ(result.options->command, app::Command::Show);
  EXPECT_FALSE(result.options->noDialog);
  EXPECT_FALSE(result.options->size);
  EXPECT_FALSE(result.options->contentDir);
  EXPECT_EQ(result.options->start, 0.0);
  EXPECT_FALSE(result.options->loop);
  EXPECT_FALSE(result.options->watch);
}

TEST(CommandLine, ShowFlagsFillTheDisplayChoices) {
  auto result = parse({"--no-dialog", "--size", "1280x720", "--fullscreen", "--vsync", "off", "--msaa", "4",
                       "--aspect", "16:10", "--start", "93.5", "--content", "build/content", "--loop", "--watch"});
  ASSERT_TRUE(result.options) << result.message;
  const app::Options& o = *result.options;
  EXPECT_TRUE(o.noDialog);
  EXPECT_EQ(o.size->width, 1280u);
  EXPECT_EQ(o.size->height, 720u);
  EXPECT_TRUE(o.fullscreen);
  EXPECT_FALSE(o.vsync);
  EXPECT_EQ(o.msaa, 4u);
  EXPECT_EQ(o.aspect, 1.6f);
  EXPECT_EQ(o.start, 93.5);
  EXPECT_EQ(o.contentDir, "build/content");
  EXPECT_TRUE(o.loop);
  EXPECT_TRUE(o.watch);
}

TEST(CommandLine, ADisplayFlagSkipsTheDialog) {
  EXPECT_TRUE(parse({"--size", "1024x768"}).options->noDialog);
  EXPECT_TRUE(parse({"--vsync", "on"}).options->noDialog);
  EXPECT_FALSE(parse({"--start", "20"}).options->noDialog);
}

TEST(CommandLine, HeadlessCommandsTakeTheirTimesAndDefaults) {
  auto render = parse({"render", "--at", "0,12.5,93"});
  ASSERT_TRUE(render.options) << render.message;
  EXPECT_EQ(render.options->command, app::Command::Render);
  EXPECT_EQ(render.options->times, (std::vector<double>{0.0, 12.5, 93.0}));
  EXPECT_EQ(render.options->out, "frames");

  EXPECT_EQ(parse({"render", "--content", "c", "--at", "1"}).options->contentDir, "c");
  EXPECT_EQ(parse({"--content", "d", "trace", "--at", "1"}).options->contentDir, "d");
  auto sheet = parse({"render", "--sheet", "s.png"});
  ASSERT_TRUE(sheet.options) << sheet.message;
  EXPECT_EQ(sheet.options->sheet, "s.png");

  auto trace = parse({"trace", "--at", "21.5", "--out", "t.jsonl"});
  ASSERT_TRUE(trace.options);
  EXPECT_EQ(trace.options->command, app::Command::Trace);
  EXPECT_EQ(trace.options->out, "t.jsonl");
  EXPECT_EQ(parse({"trace", "--at", "1"}).options->out, "-");

  auto capture = parse({"capture", "--fps", "30", "--from", "10", "--to", "20"});
  ASSERT_TRUE(capture.options) << capture.message;
  EXPECT_EQ(capture.options->fps, 30u);
  EXPECT_EQ(capture.options->from, 10.0);
  EXPECT_EQ(capture.options->to, 20.0);
  EXPECT_EQ(capture.options->out, "build/redkite.mp4");
}

// A bad value is one line that names the flag and what it takes, with exit code 2.
TEST(CommandLine, BadValuesNameTheFlagAndWhatItAccepts) {
  struct Case {
    std::initializer_list<const char*> args;
    const char* message;
  } cases[] = {
      {{"--size", "12x"}, "--size: expected WIDTHxHEIGHT"},
      {{"--size", "x480"}, "--size: expected WIDTHxHEIGHT"},
      {{"--size", "640x480x2"}, "--size: expected WIDTHxHEIGHT"},
      {{"--aspect", "21:9"}, "--aspect: expected 4:3, 16:10 or 16:9"},
      {{"--vsync", "maybe"}, "--vsync: expected on or off"},
      {{"--msaa", "3"}, "--msaa: expected 0, 2, 4"},
      {{"--start", "-1"}, "--start: expected a number of seconds"},
      {{"--start", "nan"}, "--start: expected a number of seconds"},
      {{"render", "--at", "-2"}, "--at: expected music times"},
      {{"trace", "--at", "1,,2"}, "--at: expected music times"},
      {{"trace", "--at", "1e999"}, "--at: expected music times"},
      {{"capture", "--fps", "0"}, "--fps: expected a whole number"},
      {{"capture", "--fps", "29.97"}, "--fps: expected a whole number"},
      {{"capture", "--from", "20", "--to", "10"}, "--to: expected a number of seconds after --from"},
  };
  for (const Case& c : cases) {
    auto result = parse(c.args);
    EXPECT_FALSE(result.options) << c.message;
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_EQ(result.message.rfind(c.message, 0), 0u) << result.message;
    EXPECT_EQ(result.message.find('\n'), std::string::npos) << result.message;
  }
  EXPECT_EQ(parse({"render"}).exitCode, 2);  // --at is required
  EXPECT_EQ(parse({"--unknown"}).exitCode, 2);
}

TEST(CommandLine, HelpExitsCleanly) {
  auto result = parse({"--help"});
  EXPECT_FALSE(result.options);
  EXPECT_EQ(result.exitCode, 0);
  // Every key of the running show is named in the help (and so in the manual page).
  for (const char* key : {"render", "Escape", "Space", "Page Down", "Home", " H ", "--loop", "--watch"})
    EXPECT_NE(result.message.find(key), std::string::npos) << key;
}

}  // namespace
