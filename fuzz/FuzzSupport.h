// Shared by the fuzz targets: a memory file the readers open by path (they read files, not
// buffers), a trace-backend device that resources are created on, and a check that aborts so
// libFuzzer keeps the input. One instance of each per fuzzing process; main thread only.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/trace/TraceDevice.h"

namespace fuzz {

// Aborts with a message when a property the code promises does not hold.
#define FUZZ_CHECK(condition)                                                      \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                \
    }                                                                              \
  } while (0)

// An anonymous in-memory file reachable as /proc/self/fd/N, rewritten for every input, so the
// readers open it as they open any asset file without touching the disk.
class MemoryFile {
public:
  MemoryFile() : fd_(::memfd_create("redkite-fuzz-input", 0)) {
    if (fd_ < 0) {
      std::perror("memfd_create");
      std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // Replaces the file's bytes; returns the path to open.
  const char* write(const std::uint8_t* data, std::size_t size) {
    FUZZ_CHECK(::ftruncate(fd_, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
      ssize_t n = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
      FUZZ_CHECK(n > 0);
      done += static_cast<std::size_t>(n);
    }
    return path_.c_str();
  }

private:
  int fd_;
  std::string path_;
};

// A 640 x 480 trace device with no failures planned.
class TraceDevice {
public:
  TraceDevice() {
    d3d9::trace::install();
    d3d_ = d3d9::ComPtr<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(640, 480);
    FUZZ_CHECK(d3d_ && SUCCEEDED(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                                      &pp, device_.put())));
  }

  IDirect3DDevice9* get() const { return device_.get(); }
  unsigned invalidCalls() const { return dynamic_cast<d3d9::trace::TraceDevice&>(*device_).invalidCalls(); }

private:
  d3d9::ComPtr<IDirect3D9> d3d_;
  d3d9::ComPtr<IDirect3DDevice9> device_;
};

// Times a reader's tracks are sampled at: ordinary ones, the ends of a track, and the hostile ones.
inline constexpr float kSampleTimes[] = {0.0f, 0.05f, 0.1f, 1.5f, 100.0f, 1e9f, -0.5f, 4.3e8f,
                                         __builtin_huge_valf(), -__builtin_huge_valf(), __builtin_nanf("")};

}  // namespace fuzz
