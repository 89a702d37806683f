// Start-up, the frame loop and shutdown of the show; the headless trace command.
#include "app/Show.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/AppWindow.h"
#include "app/ContactSheet.h"
#include "app/EffectWatcher.h"
#include "app/Frame.h"
#include "app/Headless.h"
#include "app/SetupDialog.h"
#include "app/SetupDialogView.h"
#include "app/StartUp.h"
#include "app/StatusBar.h"
#include "app/ViewerControls.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "platform/output/AtomicFile.h"
#include "platform/trace/FrameTrace.h"
#include "platform/win32/MessageBox.h"
#include "render/Cameras.h"
#include "render/Device.h"
#include "timeline/Manifest.h"
#include "timeline/MusicStream.h"
#include "timeline/Schedule.h"
#include "timeline/SpectrumTrack.h"
#include "timeline/Stages.h"

namespace app {
namespace {


// The choices the dialog would have made, from the command line: its defaults where a flag is
// not given (800 x 600, vsync on, no multisampling, the aspect that suits the desktop), windowed
// unless --fullscreen.
int settingsFromOptions(IDirect3D9* d3d, const Options& options) {
  SetupDialog dialog(d3d);
  dialog.initialise();
  DisplaySettings& settings = displaySettings();
  Size size = options.size.value_or(kDialogDefaultSize);
  settings.width = size.width;
  settings.height = size.height;
  settings.refreshRate = 60;
  settings.format = D3DFMT_X8R8G8B8;
  settings.fullscreen = options.fullscreen;
  settings.vsync = options.vsync;
  settings.multiSampleType = D3DMULTISAMPLE_TYPE(options.msaa.value_or(0));
  settings.aspectRatio = options.aspect.value_or(dialog.aspect >= 0 ? dialog.aspects[dialog.aspect]->ratio
                                                                    : kDefaultAspectRatio);
  return 1;
}

int runDialog(IDirect3D9* d3d, const Options& options) {
  if (options.noDialog) return settingsFromOptions(d3d, options);
  int result = showSetupDialog(d3d);
  if (result < 0) {
    std::fputs("redkite: no display for the setup dialog; run it on a desktop, or use `redkite render`\n", stderr);
    return 0;
  }
  return result;
}


}  // namespace

namespace {

// What the status bar shows for the frame about to be drawn; nothing here allocates.
StatusLine statusOf(const timeline::MusicStream& music, double position, double frameSeconds,
                    const EffectWatcher& watcher) {
  StatusLine line;
  if (auto call = timeline::scheduleFor(position, timeline::spectrumTrack())) line.renderer = timeline::rendererName(call->renderer);
  line.musicTime = position;
  line.length = music.length();
  line.frameSeconds = frameSeconds;
  line.paused = music.paused();
  line.watchError = watcher.lastError();
  return line;
}

// Music, manifest, stages, spectrum, then volume and play, then the frame loop until the music ends
// or the user leaves; the stages and then the music go when it returns.
int playShow(const Options& options) {
  IDirect3DDevice9* device = deviceState().device.get();

  // Declared before the content, the music is freed after the stages at shutdown.
  timeline::MusicStream music;
  music.open(kMusicPath);
  ShowContent content(device, displaySettings().aspectRatio, SpectrumFallback::Recording, &music);
  if (content.cancelled()) return 1;
  if (options.start > 0)
    BASS_ChannelSetPosition(music.channel(), BASS_ChannelSeconds2Bytes(music.channel(), float(options.start)));

  ViewerControls controls(music, options.loop);
  StatusBar bar;
  EffectWatcher watcher;
  if (options.watch) {
    watcher.watch(timeline::manifest().effects);
    watcher.watch(content.main().stageEffects);
  }
  AppWindow& window = appWindow();
  window.onInput = [&](const MSG& message) {
    int width = 0, height = 0;
    window.clientSize(width, height);
    controls.handle(message, width, height);
  };
  d3d9::gl::setWindowOverlay([&](int width, int height) {
    if (controls.statusBarShown()) bar.draw(width, height);
  });
  runFrameLoop(
      music, controls,
      [&](double position, double frameSeconds) {
        if (controls.statusBarShown()) bar.update(statusOf(music, position, frameSeconds, watcher));
        drawFrame(device, position, content.organ(), content.main());
      },
      [&](std::chrono::steady_clock::time_point now) {
        if (options.watch) watcher.poll(now);
      });
  d3d9::gl::setWindowOverlay({});
  window.onInput = nullptr;
  return 1;
}

}  // namespace

int runShow(const Options& options) {
  d3d9::gl::installWindowed(win32::sdlWindowOf);
  if (!appWindow().create(kWindowTitle, [&](IDirect3D9* d3d) { return runDialog(d3d, options); })) return 0;
  useDeviceForRendering();
  return playShow(options);
}

int runTrace(const Options& options) {
  // To standard output, a reader that goes away (| head) ends the program as a shell expects.
  const bool toStdout = options.out == "-";
  if (toStdout) std::signal(SIGPIPE, SIG_DFL);
  std::optional<output::AtomicFile> file;
  if (!toStdout) {
    file.emplace(options.out);
    if (!file->ok()) {
      std::fprintf(stderr, "redkite: cannot write %s\n", file->error().c_str());
      return 2;
    }
  }
  bool written = true;
  int stdoutError = 0;
  trace::frameTrace().setSink([&](std::string_view line) {
    if (!written) return;
    if (file) {
      written = file->write(line) && file->write("\n");
      return;
    }
    written = std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fputc('\n', stdout) != EOF;
    if (!written) stdoutError = errno;
  });
  d3d9::trace::install();
  // A failed write stops the frame walk: nothing after it could reach the output.
  bool drawn = drawHeadless(options, options.size.value_or(kTraceDefaultSize), options.times,
                            [&](double) { return written; });
  trace::frameTrace().setSink({});
  if (written && !file && std::fflush(stdout) != 0) {
    written = false;
    stdoutError = errno;
  }
  if (written && file) written = file->commit();
  if (!written) {
    if (file) {
      std::fprintf(stderr, "redkite: cannot write %s\n", file->error().c_str());
    } else {
      std::fprintf(stderr, "redkite: cannot write the trace to standard output: %s\n", std::strerror(stdoutError));
    }
    return 1;
  }
  return drawn ? 0 : 1;
}

int runRender(const Options& options) {
  if (options.sheet) return runContactSheet(options);
  std::error_code error;
  std::filesystem::create_directories(options.out, error);
  if (error) {
    std::fprintf(stderr, "redkite: --out: cannot make the folder %s\n", options.out.c_str());
    return 2;
  }
  d3d9::gl::installHeadless();
  bool failed = false;
  bool drawn = drawHeadless(options, options.size.value_or(kRenderDefaultSize), options.times, [&](double t) {
    d3d9::gl::Image image = d3d9::gl::presentedImage(deviceState().device.get());
    char name[32];
    std::snprintf(name, sizeof name, "%08.3f.png", t);
    std::string path = (std::filesystem::path(options.out) / name).string();
    std::string problem;
    if (image.empty()) {
      std::fprintf(stderr, "redkite: %.3f s draws the default frame, which presents nothing\n", t);
    } else if (!d3d9::gl::writePng(path, image, problem)) {
      // The next frames would meet the same full disk or closed folder: stop at the first.
      std::fprintf(stderr, "redkite: cannot write %s\n", problem.c_str());
      failed = true;
    } else {
      std::printf("%s\n", path.c_str());
    }
    return !failed;
  });
  return drawn && !failed ? 0 : 1;
}

}  // namespace app
