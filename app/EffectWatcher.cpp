// Effect files checked by size and time, compiled again when they change.
#include "app/EffectWatcher.h"

#include <cstdio>
#include <sstream>

#include "platform/d3dx9/Effect.h"
#include "platform/win32/FilePath.h"

namespace app {
namespace {

// The line of a compile log worth a status bar: the first "path(line): message" of this file
// (parse and compile errors are written so), else the first line.
std::string headlineOf(const std::string& errors, const std::string& path) {
  std::istringstream lines(errors);
  std::string line;
  while (std::getline(lines, line))
    if (line.starts_with(path + "(")) return line;
  return errors.substr(0, errors.find('\n'));
}

}  // namespace

EffectWatcher::Stamp EffectWatcher::stampOf(const std::string& file) {
  std::error_code error;
  Stamp stamp;
  stamp.modified = std::filesystem::last_write_time(file, error);
  if (error) return Stamp{};
  stamp.size = std::filesystem::file_size(file, error);
  return error ? Stamp{} : stamp;
}

void EffectWatcher::watch(assets::EffectStack& effects) {
  for (std::size_t i = 0; i < effects.size(); ++i) {
    ID3DXEffect* effect = effects.at(i);
    std::string path = d3dx9::effectFilePath(effect);
    if (path.empty()) continue;
    std::string file = win32::hostPath(path);
    entries_.push_back(Entry{effect, path, file, stampOf(file), {}});
  }
}

void EffectWatcher::poll(std::chrono::steady_clock::time_point now) {
  if (now < nextLook_) return;
  nextLook_ = now + kWatchInterval;
  for (Entry& entry : entries_) {
    Stamp stamp = stampOf(entry.file);
    // A file being replaced can be missing for a moment: wait until it is back.
    if (stamp == entry.stamp || stamp == Stamp{}) continue;
    entry.stamp = stamp;
    std::string errors;
    if (d3dx9::reloadEffect(entry.effect, errors)) {
      std::fprintf(stderr, "redkite: reloaded %s\n", entry.file.c_str());
      entry.error.clear();
    } else {
      std::fputs(errors.c_str(), stderr);
      entry.error = headlineOf(errors, entry.path);
    }
  }
  // The bar shows one file that still fails to compile, if any.
  lastError_.clear();
  for (const Entry& entry : entries_)
    if (!entry.error.empty()) lastError_ = entry.error;
}

}  // namespace app
