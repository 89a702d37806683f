// A progress line for long headless work on standard error: a bar redrawn in place on a terminal,
// a plain line every few seconds otherwise. Main thread only.
#pragma once

#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace app {

// Units done, units a second and time left.
class Progress {
public:
  // `what` names the work, `unit` what is counted and `rate` how many a second ("capture",
  // "frames", "fps").
  Progress(std::size_t total, const char* what, const char* unit, const char* rate)
      : total_(total), what_(what), unit_(unit), rate_(rate), terminal_(::isatty(STDERR_FILENO)) {}

  void update(std::size_t done) {
    auto now = Clock::now();
    double elapsed = std::chrono::duration<double>(now - start_).count();
    double sinceLast = std::chrono::duration<double>(now - lastPrint_).count();
    bool last = done == total_;
    if (!last && sinceLast < (terminal_ ? 0.2 : 5.0)) return;
    lastPrint_ = now;
    double fps = elapsed > 0 ? double(done) / elapsed : 0;
    double left = fps > 0 ? double(total_ - done) / fps : 0;
    int percent = total_ ? int(100.0 * double(done) / double(total_)) : 100;
    constexpr int kBarWidth = 30;
    int filled = percent * kBarWidth / 100;
    if (terminal_) {
      std::fprintf(stderr, "\r[%.*s%*s] %3d%%  %zu/%zu %s  %.1f %s  %d:%02d left ", filled,
                   "##############################", kBarWidth - filled, "", percent, done, total_, unit_, fps, rate_,
                   int(left) / 60, int(left) % 60);
      if (last) std::fputc('\n', stderr);
    } else {
      std::fprintf(stderr, "%s: %d%%, %zu/%zu %s, %.1f %s, %d:%02d left\n", what_, percent, done, total_, unit_,
                   fps, rate_, int(left) / 60, int(left) % 60);
    }
  }

private:
  using Clock = std::chrono::steady_clock;
  std::size_t total_;
  const char* what_;
  const char* unit_;
  const char* rate_;
  bool terminal_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastPrint_ = Clock::now();
};

}  // namespace app
