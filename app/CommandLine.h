// The command line: with no arguments the show itself; options that fill the display settings
// without the dialog; and the headless commands render, capture and trace. Parsing is a pure
// function so every flag and every refusal can be tested without starting anything.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/WinTypes.h"

namespace app {

enum class Command { Show, Render, Capture, Trace, Spectrum };

struct Size {
  UINT width = 0;
  UINT height = 0;
};

struct Options {
  Command command = Command::Show;
  std::optional<std::string> contentDir;

  // The show.
  bool noDialog = false;
  std::optional<Size> size;
  bool fullscreen = false;
  bool vsync = true;
  std::optional<unsigned> msaa;
  std::optional<float> aspect;
  double start = 0.0;
  bool loop = false;   // start again from 0 at the end instead of ending
  bool watch = false;  // compile changed effect files again while the show runs

  // render, capture and trace.
  std::vector<double> times;
  std::optional<std::string> sheet;  // render: one contact sheet instead of a PNG per time
  std::string out;
  unsigned fps = 60;
  std::optional<double> from;
  std::optional<double> to;

  // spectrum: the music to analyse (default: the content's) and `out` (default: the content's file).
  std::optional<std::string> music;
};

struct ParseResult {
  std::optional<Options> options;  // empty when the program should exit with `exitCode`
  int exitCode = 0;
  std::string message;  // help text (exit 0) or the one-line error (exit 2)
};

ParseResult parseCommandLine(int argc, const char* const* argv);

// The keys of the running show, at the foot of --help (and so of the manual page made from it).
inline constexpr const char* kKeysHelp =
    "Keys while the show runs: Escape ends it; O and I move the music forward and back, 0.1 s a frame;\n"
    "Space pauses and resumes; Left and Right go 5 s back and forward; Page Up and Page Down go to the\n"
    "start of the previous and next scene; Home goes to the start; H shows or hides the status bar\n"
    "(click its seek bar to go there).\n"
    "Content: --content DIR, else the working folder when it holds the show's files, else content/ beside\n"
    "the program, else ../share/redkite beside it (an installed copy).";

// Sizes used when none is given.
inline constexpr Size kDialogDefaultSize{800, 600};
inline constexpr Size kRenderDefaultSize{1280, 720};
inline constexpr Size kTraceDefaultSize{640, 480};
inline constexpr Size kSheetCellSize{320, 240};

}  // namespace app
