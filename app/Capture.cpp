// Capture: frame walk, the ffmpeg child, the progress display and clean stops.
#include "app/Capture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/AppWindow.h"
#include "app/Headless.h"
#include "app/Progress.h"
#include "app/StartUp.h"
#include "platform/audio/bass.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/output/AtomicFile.h"

extern char** environ;

namespace app {
namespace {

std::atomic<bool> interrupted{false};

void onInterrupt(int) { interrupted = true; }

// Ctrl-C stops the capture between frames, so the file is finished rather than cut off; SIGTERM
// ends it at once and removes the unfinished file (PartCleanupScope).
class InterruptGuard {
public:
  InterruptGuard() {
    interrupted = false;
    previousInt_ = std::signal(SIGINT, onInterrupt);
    previousPipe_ = std::signal(SIGPIPE, SIG_IGN);
  }
  ~InterruptGuard() {
    std::signal(SIGINT, previousInt_);
    std::signal(SIGPIPE, previousPipe_);
  }

private:
  output::PartCleanupScope terminate_{false};
  void (*previousInt_)(int);
  void (*previousPipe_)(int);
};

bool onPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string folders(path);
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::filesystem::path candidate = std::filesystem::path(folders.substr(start, end - start)) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// The music's length in seconds, or a negative value when it cannot be read.
double musicLength() {
  if (!BASS_Init(0, 44100, 0, nullptr, nullptr)) return -1;
  double seconds = -1;
  if (HSTREAM stream = BASS_StreamCreateFile(FALSE, kMusicPath, 0, 0, 0)) {
    seconds = BASS_ChannelBytes2Seconds(stream, BASS_ChannelGetLength(stream));
    BASS_StreamFree(stream);
  }
  BASS_Free();
  return seconds;
}

// ffmpeg reading raw frames on its standard input, in its own process group so that Ctrl-C
// reaches only us: we then close the pipe and ffmpeg finishes the file.
class Encoder {
public:
  bool start(const std::vector<std::string>& arguments) {
    int fds[2];
    messages_ = std::tmpfile();
    if (!messages_ || ::pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fileno(messages_), STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int result = posix_spawnp(&child_, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(fds[0]);
    if (result != 0) {
      ::close(fds[1]);
      return false;
    }
    pipe_ = fds[1];
    return true;
  }

  // False once ffmpeg has gone away.
  bool write(const std::uint8_t* data, std::size_t bytes) {
    while (bytes > 0 && pipe_ >= 0) {
      ssize_t written = ::write(pipe_, data, bytes);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) return false;
      data += written;
      bytes -= std::size_t(written);
    }
    return pipe_ >= 0;
  }

  // Closes the pipe and waits for ffmpeg; true when it exited 0 and printed nothing (it runs with
  // -loglevel error, and a full disk can leave it printing an error yet exiting 0). What it
  // printed lands in `messages`.
  bool finish(std::string& messages) {
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
    int status = 0;
    if (child_ <= 0 || ::waitpid(child_, &status, 0) != child_) return false;
    child_ = 0;
    messages.clear();
    if (messages_) {
      std::rewind(messages_);
      char buffer[4096];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, messages_)) > 0;) messages.append(buffer, n);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && messages.empty();
  }

  ~Encoder() {
    std::string ignored;
    finish(ignored);
    if (messages_) std::fclose(messages_);
  }

private:
  pid_t child_ = 0;
  int pipe_ = -1;
  std::FILE* messages_ = nullptr;
};

// The last line of ffmpeg's messages, the reason shown with the failed path.
std::string lastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::size_t cut = text.find_last_of('\n');
  return cut == std::string::npos ? text : text.substr(cut + 1);
}

}  // namespace

std::vector<double> captureTimes(double from, double to, unsigned fps) {
  std::vector<double> times;
  for (std::size_t i = 0;; ++i) {
    double t = from + double(i) / double(fps);
    if (t >= to - 1e-9) break;
    times.push_back(t);
  }
  return times;
}

std::vector<std::string> ffmpegArguments(const Options& options, Size size, double from, double duration,
                                         bool withMusic) {
  auto number = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", v);
    return std::string(text);
  };
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
                                   "-f", "rawvideo", "-pix_fmt", "rgba",
                                   "-s", std::to_string(size.width) + "x" + std::to_string(size.height),
                                   "-r", std::to_string(options.fps), "-i", "-"};
  if (withMusic) {
    args.insert(args.end(), {"-ss", number(from), "-t", number(duration), "-i", kMusicPath, "-map", "0:v", "-map",
                             "1:a", "-c:a", "aac", "-b:a", "192k", "-shortest"});
  }
  args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt", "yuv420p",
                           "-movflags", "+faststart", "-f", "mp4", options.out + ".part"});
  return args;
}

bool mp4IsWhole(const std::string& path, std::string& reason) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    reason = std::strerror(errno);
    return false;
  }
  std::error_code error;
  const std::uint64_t size = std::filesystem::file_size(path, error);
  bool moov = false, mdat = false;
  std::uint64_t at = 0;
  // Top-level boxes: a 32-bit big-endian size (1: a 64-bit size follows; 0: to the end) and a type.
  while (!error && at + 8 <= size) {
    unsigned char head[16];
    if (std::fseek(file, long(at), SEEK_SET) != 0 || std::fread(head, 1, 8, file) != 8) break;
    std::uint64_t box = std::uint64_t(head[0]) << 24 | std::uint64_t(head[1]) << 16 | std::uint64_t(head[2]) << 8 | head[3];
    if (box == 1) {
      if (std::fread(head + 8, 1, 8, file) != 8) break;
      box = 0;
      for (int i = 8; i < 16; ++i) box = box << 8 | head[i];
    } else if (box == 0) {
      box = size - at;
    }
    if (box < 8 || box > size - at) break;
    moov = moov || std::memcmp(head + 4, "moov", 4) == 0;
    mdat = mdat || std::memcmp(head + 4, "mdat", 4) == 0;
    at += box;
  }
  std::fclose(file);
  if (at == size && moov && mdat && size > 0) return true;
  reason = moov ? "the MP4 file is cut short" : "the MP4 file has no index (moov box)";
  return false;
}

int runCapture(const Options& options) {
  if (!onPath("ffmpeg")) {
    std::fputs("redkite: capture needs ffmpeg; install the Debian package ffmpeg\n", stderr);
    return 2;
  }
  std::filesystem::path out(options.out);
  std::error_code error;
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path(), error);
  std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : ".";
  if (error || ::access(folder.c_str(), W_OK) != 0) {
    std::fprintf(stderr, "redkite: --out: cannot write into %s\n", folder.c_str());
    return 2;
  }
  double length = musicLength();
  bool withMusic = length > 0;
  if (!withMusic) std::fprintf(stderr, "redkite: cannot read %s; the capture has no sound\n", kMusicPath);
  double from = options.from.value_or(0.0);
  double to = options.to.value_or(withMusic ? length : from + 10.0);
  if (to <= from) {
    std::fputs("redkite: --from: the music ends before that time\n", stderr);
    return 2;
  }
  std::vector<double> times = captureTimes(from, to, options.fps);
  Size size = options.size.value_or(kRenderDefaultSize);
  double duration = double(times.size()) / double(options.fps);

  InterruptGuard guard;
  const std::string part = options.out + ".part";
  output::PartFile unfinished(part);
  Encoder encoder;
  if (!encoder.start(ffmpegArguments(options, size, from, duration, withMusic))) {
    std::fputs("redkite: cannot start ffmpeg\n", stderr);
    return 1;
  }
  d3d9::gl::installHeadless();
  Progress progress(times.size(), "capture", "frames", "fps");
  std::vector<std::uint8_t> black(std::size_t(size.width) * size.height * 4, 0);
  std::size_t done = 0;
  bool pipeOpen = true;
  bool drawn = drawHeadless(options, size, times, [&](double) {
    d3d9::gl::Image image = d3d9::gl::presentedImage(deviceState().device.get());
    bool fits = image.width == size.width && image.height == size.height;
    pipeOpen = encoder.write(fits ? image.rgba.data() : black.data(), black.size());
    progress.update(++done);
    return pipeOpen && !interrupted;
  });
  std::string messages;
  bool finished = encoder.finish(messages);
  if (!messages.empty()) std::fputs(messages.c_str(), stderr);
  if (interrupted) std::fprintf(stderr, "\nredkite: capture stopped after %zu frames\n", done);
  // ffmpeg's own last words say best why it stopped (a full disk, say), when it said any.
  std::string reason = !drawn               ? "the show could not start"
                       : !messages.empty()  ? lastLine(messages)
                       : !pipeOpen          ? "ffmpeg stopped reading the frames"
                       : !finished          ? "ffmpeg failed"
                                            : "";
  // A whole capture is renamed into place; anything else is removed, never left looking finished.
  if (reason.empty() && mp4IsWhole(part, reason) && std::rename(part.c_str(), options.out.c_str()) != 0)
    reason = std::strerror(errno);
  if (!reason.empty()) {
    std::remove(part.c_str());
    std::fprintf(stderr, "redkite: cannot write %s: %s\n", options.out.c_str(), reason.c_str());
    return 1;
  }
  std::printf("%s: %zu frames, %.2f s at %u fps\n", options.out.c_str(), done, double(done) / options.fps,
              options.fps);
  return interrupted ? 130 : 0;
}

}  // namespace app
