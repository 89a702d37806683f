// The show as the benchmarks start it: the program's own headless start-up (device, manifest, both
// stages, spectrum file) on the null device (the trace backend with recording off) or on headless
// OpenGL, at a chosen size, with the generated content. One instance per process; main thread only.
// The content folder is REDKITE_CONTENT_DIR, or the environment variable REDKITE_CONTENT when set.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "app/AppWindow.h"
#include "app/DisplaySettings.h"
#include "app/StartUp.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/trace/TraceDevice.h"

namespace bench {

enum class Backend { Null, Gl };

struct FrameSize {
  unsigned width = 640;
  unsigned height = 480;
};

// REDKITE_BENCH_GL=1 picks headless OpenGL; anything else the null device.
inline Backend backendFromEnvironment() {
  const char* gl = std::getenv("REDKITE_BENCH_GL");
  return gl && std::string(gl) == "1" ? Backend::Gl : Backend::Null;
}

// REDKITE_BENCH_SIZE=WxH, 640x480 when unset; nothing when it is set but unreadable.
inline std::optional<FrameSize> sizeFromEnvironment() {
  const char* text = std::getenv("REDKITE_BENCH_SIZE");
  if (!text || !*text) return FrameSize{};
  unsigned width = 0, height = 0;
  char end = 0;
  if (std::sscanf(text, "%ux%u%c", &width, &height, &end) != 2 || width < 16 || height < 16 || width > 8192 ||
      height > 8192)
    return std::nullopt;
  return FrameSize{width, height};
}

// CPU time this thread has used, in seconds: unlike the wall clock it does not count the time
// another process holds the core.
inline double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

class BenchShow {
public:
  // The first call starts the show on `backend` at `size`; later calls return it as it is.
  static BenchShow& instance(Backend backend = Backend::Null, FrameSize size = {}) {
    static BenchShow show(backend, size);
    return show;
  }
  BenchShow(const BenchShow&) = delete;
  BenchShow& operator=(const BenchShow&) = delete;

  bool ready() const { return content_.has_value(); }
  Backend backend() const { return backend_; }
  FrameSize size() const { return size_; }
  IDirect3DDevice9* device() const { return app::deviceState().device.get(); }
  timeline::MainStage& main() { return content_->main(); }
  timeline::OrganStage& organ() { return content_->organ(); }

  // Waits for every frame drawn so far by reading the last one back (the OpenGL backend queues its
  // work) and returns the bytes read; nothing to wait for on the null device.
  std::size_t sync() { return backend_ == Backend::Gl ? d3d9::gl::presentedImage(device()).rgba.size() : 0; }

private:
  BenchShow(Backend backend, FrameSize size) : backend_(backend), size_(size) {
    const char* content = std::getenv("REDKITE_CONTENT");
    if (::chdir(content ? content : REDKITE_CONTENT_DIR) != 0) return;
    if (backend == Backend::Gl) {
      d3d9::gl::installHeadless();
    } else {
      d3d9::trace::install();
    }
    // As the program's headless commands start: no window, no vsync, the default aspect ratio.
    if (!app::createHeadlessDevice({size.width, size.height}, app::kDefaultAspectRatio)) return;
    content_.emplace(device(), app::kDefaultAspectRatio, app::SpectrumFallback::Zeros);
  }

  ~BenchShow() {
    content_.reset();
    app::appWindow().destroy();
  }

  Backend backend_;
  FrameSize size_;
  std::optional<app::ShowContent> content_;
};

}  // namespace bench
