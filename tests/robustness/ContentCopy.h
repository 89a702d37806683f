// Test helper: a private copy of the generated content in a fresh temporary folder, in which a
// test deletes, truncates or overwrites files with random bytes and puts them back afterwards.
// Files are named by the paths the show passes ('\' separators). Removed with its folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/FilePath.h"
#include "tests/support/TempDir.h"

namespace robustness {

enum class Fault { Delete, Truncate, Randomise };

inline const char* faultName(Fault fault) {
  switch (fault) {
    case Fault::Delete: return "deleted";
    case Fault::Truncate: return "truncated";
    case Fault::Randomise: return "random";
  }
  return "";
}

inline constexpr Fault kFaults[] = {Fault::Delete, Fault::Truncate, Fault::Randomise};

class ContentCopy {
public:
  explicit ContentCopy(std::string original) : original_(std::move(original)) {
    std::error_code error;
    std::filesystem::copy(original_, dir_.path(), std::filesystem::copy_options::recursive, error);
    if (error) ADD_FAILURE() << "cannot copy " << original_ << ": " << error.message();
  }

  const std::string& root() const { return dir_.path(); }
  std::string pathOf(std::string_view showPath) const { return dir_.path() + "/" + win32::hostPath(showPath); }

  // Deleted; cut to its first half; or its bytes replaced by as many pseudo-random ones, the same
  // for a given path on every run.
  void apply(Fault fault, std::string_view showPath) {
    std::string path = pathOf(showPath);
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) return ADD_FAILURE() << "no file " << path;
    switch (fault) {
      case Fault::Delete: std::filesystem::remove(path, error); break;
      case Fault::Truncate: std::filesystem::resize_file(path, size / 2, error); break;
      case Fault::Randomise: {
        std::uint32_t seed = 2166136261u;  // FNV-1a of the path
        for (char c : showPath) seed = (seed ^ static_cast<unsigned char>(c)) * 16777619u;
        std::mt19937 random(seed);
        std::string bytes(size, '\0');
        for (char& b : bytes) b = static_cast<char>(random() >> 24);
        std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
        break;
      }
    }
    if (error) ADD_FAILURE() << "cannot change " << path << ": " << error.message();
  }

  // Replaces every PNG and JPEG of the copy with a tiny image of the same format (these sources),
  // so that a start-up decodes in microseconds what the generated textures take a good part of a
  // second to; the loaders, registries and scenes take the same paths with them.
  void useTinyImages(std::string png, std::string jpg) {
    tinyPng_ = std::move(png);
    tinyJpg_ = std::move(jpg);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path())) {
      std::string path = entry.path().string();
      if (path.ends_with(".png") || path.ends_with(".jpg")) copyOver(tinyImageFor(path), path);
    }
  }

  // The tiny image again in place of a texture (after restore put the generated one back).
  void shrink(std::string_view showPath) {
    std::string path = pathOf(showPath);
    copyOver(tinyImageFor(path), path);
  }

  // The file as generated.
  void restore(std::string_view showPath) {
    std::error_code error;
    std::filesystem::copy_file(original_ + "/" + win32::hostPath(showPath), pathOf(showPath),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) ADD_FAILURE() << "cannot restore " << showPath << ": " << error.message();
  }

private:
  const std::string& tinyImageFor(const std::string& path) const { return path.ends_with(".jpg") ? tinyJpg_ : tinyPng_; }

  static void copyOver(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error) ADD_FAILURE() << "cannot copy " << from << " to " << to << ": " << error.message();
  }

  std::string original_;
  testsupport::TempDir dir_;
  std::string tinyPng_, tinyJpg_;
};

// The tiny images: the PNG and JPEG seeds of the texture fuzz target.
inline void useTinyTestImages(ContentCopy& content) {
  std::string seeds = std::string(REDKITE_SOURCE_DIR) + "/fuzz/corpus/fuzz_texture/";
  content.useTinyImages(seeds + "rgb-3x2.png", seeds + "baseline-16x8.jpg");
}

}  // namespace robustness
