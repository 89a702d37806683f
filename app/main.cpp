// Entry point of redkite: parses the command line, finds the content and runs the chosen command.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/AppWindow.h"
#include "app/Capture.h"
#include "app/CommandLine.h"
#include "app/Show.h"
#include "app/SpectrumCommand.h"
#include "platform/output/AtomicFile.h"

namespace {

// The show opens its files relative to the working folder: --content names it; otherwise, when the
// working folder has none of the show's files, the content generated beside the program (a build
// folder) or installed at ../share/redkite beside it.
bool enterContentFolder(const app::Options& options, const char* argv0) {
  namespace fs = std::filesystem;
  fs::path folder;
  if (options.contentDir) {
    folder = *options.contentDir;
  } else if (!fs::exists("RV07") && !fs::exists("quarvdemo")) {
    // Started through PATH, argv[0] is a bare name: the kernel's link names the program itself.
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) program = fs::weakly_canonical(fs::path(argv0), error);
    for (const fs::path& candidate : {program.parent_path() / "content", program.parent_path() / ".." / "share" / "redkite"}) {
      if (!error && fs::is_directory(candidate / "quarvdemo")) {
        folder = candidate;
        break;
      }
    }
  }
  if (folder.empty()) return true;
  if (::chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "redkite: --content: cannot enter the folder %s\n", folder.c_str());
    return false;
  }
  return true;
}

bool absolutePath(std::string& path, const char* flag) {
  std::error_code error;
  std::filesystem::path absolute = path.empty() ? std::filesystem::path() : std::filesystem::absolute(path, error);
  if (path.empty() || error) {
    std::fprintf(stderr, "redkite: %s: expected a file or folder path\n", flag);
    return false;
  }
  path = absolute.string();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  app::ParseResult parsed = app::parseCommandLine(argc, argv);
  if (!parsed.options) {
    std::fprintf(parsed.exitCode == 0 ? stdout : stderr, "%s%s\n", parsed.exitCode == 0 ? "" : "redkite: ",
                 parsed.message.c_str());
    return parsed.exitCode;
  }
  app::Options& options = *parsed.options;
  // Output paths name places relative to where the user started the program, not the content.
  if (options.command != app::Command::Show && options.out != "-" && !options.out.empty() &&
      !absolutePath(options.out, "--out"))
    return 2;
  if (options.music && !absolutePath(*options.music, "--music")) return 2;
  if (options.sheet && !absolutePath(*options.sheet, "--sheet")) return 2;
  if (!enterContentFolder(options, argv[0])) return 2;

  // An interrupted headless command leaves no half-written output behind.
  std::optional<output::PartCleanupScope> cleanup;
  if (options.command == app::Command::Trace || options.command == app::Command::Render ||
      options.command == app::Command::Spectrum)
    cleanup.emplace();
  int code = 0;
  switch (options.command) {
    case app::Command::Show:
      code = app::runShow(options);
      break;
    case app::Command::Trace:
      code = app::runTrace(options);
      break;
    case app::Command::Render:
      code = app::runRender(options);
      break;
    case app::Command::Spectrum:
      code = app::runSpectrum(options);
      break;
    case app::Command::Capture:
      code = app::runCapture(options);
      break;
  }
  // The window and the device go first, before the other globals.
  app::appWindow().destroy();
  return code;
}
