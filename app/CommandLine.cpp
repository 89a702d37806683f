// Flags, sub-commands and their checks, over CLI11. CLI11 reports through exceptions; they are
// caught here and turned into the one-line message and exit code the user sees.
#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>

#include "app/SetupDialog.h"

namespace app {
namespace {

bool parseDouble(std::string_view text, double& value) {
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() && std::isfinite(value);
}

bool parseSize(const std::string& text, Size& size) {
  auto x = text.find('x');
  if (x == std::string::npos) return false;
  unsigned w = 0, h = 0;
  auto a = std::from_chars(text.data(), text.data() + x, w);
  auto b = std::from_chars(text.data() + x + 1, text.data() + text.size(), h);
  bool whole = a.ec == std::errc() && a.ptr == text.data() + x && b.ec == std::errc() &&
               b.ptr == text.data() + text.size();
  constexpr unsigned kMaxSide = 16384;
  if (!whole || w < 16 || h < 16 || w > kMaxSide || h > kMaxSide) return false;
  size = Size{w, h};
  return true;
}

bool parseTimes(const std::string& text, std::vector<double>& times) {
  times.clear();
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string::npos) comma = text.size();
    double t = 0;
    if (!parseDouble(std::string_view(text).substr(pos, comma - pos), t) || t < 0) return false;
    times.push_back(t);
    pos = comma + 1;
  }
  return !times.empty();
}

// Every value is taken as text and checked here, so a bad one gets a message that says what the
// flag accepts.
struct Raw {
  std::string size, vsync, aspect, at, msaa, start, fps, from, to;
};

bool parseSeconds(const std::string& text, double& seconds) { return parseDouble(text, seconds) && seconds >= 0; }

// Checks the raw strings and fills the options; the message names the flag and what it takes.
std::string finish(const Raw& raw, Options& o) {
  if (!raw.size.empty()) {
    Size size;
    if (!parseSize(raw.size, size)) return "--size: expected WIDTHxHEIGHT in pixels, e.g. 1280x720";
    o.size = size;
  }
  if (!raw.vsync.empty()) {
    if (raw.vsync != "on" && raw.vsync != "off") return "--vsync: expected on or off";
    o.vsync = raw.vsync == "on";
  }
  if (!raw.aspect.empty()) {
    for (const AspectRow& row : kAspectRows)
      if (raw.aspect == row.text) o.aspect = row.ratio;
    if (!o.aspect) return "--aspect: expected 4:3, 16:10 or 16:9";
  }
  if (!raw.msaa.empty()) {
    for (const MultisampleRow& row : kMultisampleRows)
      if (raw.msaa == std::to_string(unsigned(row.type))) o.msaa = unsigned(row.type);
    if (!o.msaa) return "--msaa: expected 0, 2, 4, 6, 8, 10, 12, 14 or 16";
  }
  if (!raw.start.empty() && !parseSeconds(raw.start, o.start))
    return "--start: expected a number of seconds, 0 or more";
  bool timesNeeded = o.command == Command::Trace || (o.command == Command::Render && !o.sheet);
  if (timesNeeded || !raw.at.empty()) {
    if (!parseTimes(raw.at, o.times)) return "--at: expected music times in seconds, 0 or more, e.g. 12.5,93";
  }
  if (o.command == Command::Capture) {
    double value = 0;
    if (!raw.fps.empty()) {
      if (!parseDouble(raw.fps, value) || value != std::floor(value) || value < 1 || value > 240)
        return "--fps: expected a whole number of frames per second from 1 to 240";
      o.fps = unsigned(value);
    }
    if (!raw.from.empty()) {
      if (!parseSeconds(raw.from, value)) return "--from: expected a number of seconds, 0 or more";
      o.from = value;
    }
    if (!raw.to.empty()) {
      if (!parseSeconds(raw.to, value) || value <= o.from.value_or(0.0))
        return "--to: expected a number of seconds after --from";
      o.to = value;
    }
  }
  return {};
}

}  // namespace

ParseResult parseCommandLine(int argc, const char* const* argv) {
  Options o;
  Raw raw;
  CLI::App cli{"Red Kite: a real-time audiovisual presentation", "redkite"};
  cli.add_option("--content", o.contentDir, "Folder with the show's content (default: the working folder)");
  cli.add_flag("--no-dialog", o.noDialog, "Skip the setup dialog; the flags below give its choices");
  cli.add_option("--size", raw.size, "Display mode WIDTHxHEIGHT (default 800x600)");
  cli.add_flag("--fullscreen", o.fullscreen, "Fullscreen instead of a window");
  cli.add_option("--vsync", raw.vsync, "Vertical sync: on or off (default on)");
  cli.add_option("--msaa", raw.msaa, "Multisampling: 0, 2, 4 … 16 samples (default 0)");
  cli.add_option("--aspect", raw.aspect, "Aspect ratio of the projection: 4:3, 16:10 or 16:9 (default: the desktop's)");
  cli.add_option("--start", raw.start, "Music time to start at, in seconds");
  cli.add_flag("--loop", o.loop, "Start again from the beginning at the end instead of ending");
  cli.add_flag("--watch", o.watch, "Compile an effect file again when it changes on disk, while the show runs");
  cli.set_version_flag("--version", "redkite " REDKITE_VERSION, "Print the version and exit");
  cli.footer(kKeysHelp);

  auto* render = cli.add_subcommand("render", "Render PNG frames at music times, headless");
  render->add_option("--at", raw.at, "Music times T[,T…] in seconds");
  render->add_option("--sheet", o.sheet, "Write one contact sheet of every renderer to this PNG instead");
  render->add_option("--size", raw.size, "Frame size WIDTHxHEIGHT (default 1280x720)");
  render->add_option("--out", o.out, "Folder for the PNG files (default frames)");

  auto* capture = cli.add_subcommand("capture", "Capture the show as an MP4 video with its music, headless");
  capture->add_option("--out", o.out, "Video file (default build/redkite.mp4)");
  capture->add_option("--size", raw.size, "Frame size WIDTHxHEIGHT (default 1280x720)");
  capture->add_option("--fps", raw.fps, "Frames per second (default 60)");
  capture->add_option("--from", raw.from, "Music time to start at, in seconds (default 0)");
  capture->add_option("--to", raw.to, "Music time to stop at, in seconds (default: the end of the music)");

  auto* trace = cli.add_subcommand("trace", "Write the device calls of frames at music times as JSON lines");
  trace->add_option("--at", raw.at, "Music times T[,T…] in seconds")->required();
  trace->add_option("--out", o.out, "Output file, or - for standard output (default -)");
  trace->add_option("--size", raw.size, "Back-buffer size WIDTHxHEIGHT (default 640x480)");
  auto* spectrum = cli.add_subcommand("spectrum", "Write the spectrum file from the decoded music, without playing it");
  spectrum->add_option("--music", o.music, "MP3 file to analyse (default: the content's music)");
  spectrum->add_option("--out", o.out, "Spectrum file (default: the content's RV07/syncdata/fft.txt)");
  for (CLI::App* command : {render, capture, trace, spectrum})
    command->add_option("--content", o.contentDir, "Folder with the show's content (default: the working folder)");
  cli.require_subcommand(0, 1);

  ParseResult result;
  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    result.message = cli.help();
    return result;
  } catch (const CLI::CallForVersion& version) {
    result.message = version.what();
    return result;
  } catch (const CLI::CallForAllHelp&) {
    result.message = cli.help("", CLI::AppFormatMode::All);
    return result;
  } catch (const CLI::ParseError& error) {
    result.exitCode = 2;
    result.message = error.what();
    return result;
  }
  if (render->parsed()) o.command = Command::Render;
  if (capture->parsed()) o.command = Command::Capture;
  if (trace->parsed()) o.command = Command::Trace;
  if (spectrum->parsed()) o.command = Command::Spectrum;
  // The spectrum file's default lies in the content folder, so it is left for the command to name.
  if (o.out.empty() && o.command != Command::Spectrum) {
    o.out = o.command == Command::Render ? "frames" : o.command == Command::Capture ? "build/redkite.mp4" : "-";
  }
  if (std::string error = finish(raw, o); !error.empty()) {
    result.exitCode = 2;
    result.message = error;
    return result;
  }
  // Choosing a display setting on the command line is choosing not to be asked in the dialog.
  bool displayFlags = o.size || o.fullscreen || !raw.vsync.empty() || o.msaa || o.aspect;
  if (o.command == Command::Show && displayFlags) o.noDialog = true;
  result.options = std::move(o);
  return result;
}

}  // namespace app
