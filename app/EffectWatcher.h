// --watch: the show's effect files checked on disk a few times a second; one that changed is
// compiled again and, when it compiles, takes the old one's place with the parameter values that
// were set. A failed compile keeps the old effect and reports "path(line): message". The frame loop
// owns the watcher; the effects stay the stacks' (the watcher holds no reference). Main thread only.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/EffectStack.h"

namespace app {

// Time between two looks at the files.
inline constexpr std::chrono::milliseconds kWatchInterval{250};

class EffectWatcher {
public:
  // Watches every effect of the stack as it is now.
  void watch(assets::EffectStack& effects);

  // Looks at the files when kWatchInterval has passed since the last look: only their size and
  // modification time, nothing is read unless one changed. Each failed compile goes to standard
  // error; lastError() is the first line of one that still fails (empty when none does).
  void poll(std::chrono::steady_clock::time_point now);
  const std::string& lastError() const { return lastError_; }

private:
  struct Stamp {
    std::filesystem::file_time_type modified{};
    std::uintmax_t size = 0;
    bool operator==(const Stamp&) const = default;
  };
  struct Entry {
    ID3DXEffect* effect;
    std::string path;  // as the effect names its file (and its errors)
    std::string file;  // the same file on this host
    Stamp stamp;
    std::string error;  // the first line of its last failed compile; empty once it compiles
  };
  static Stamp stampOf(const std::string& file);

  std::vector<Entry> entries_;
  std::chrono::steady_clock::time_point nextLook_{};
  std::string lastError_;
};

}  // namespace app
