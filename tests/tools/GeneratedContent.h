// Test helpers: the content folder the build wrote (the files the show loads), and a fresh
// generator run into a temporary folder that is removed afterwards. Both map the show's asset
// paths ('\' separators) to files.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/TempDir.h"
#include "tools/contentgen/Generator.h"

namespace testsupport {

inline std::string contentPath(const std::string& root, std::string_view assetPath) {
  std::string relative(assetPath);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return root + "/" + relative;
}

// build/content, written by the build's content target (the tests depend on it).
inline std::string builtContent(std::string_view assetPath) { return contentPath(REDKITE_CONTENT_DIR, assetPath); }

class GeneratedContent {
public:
  explicit GeneratedContent(const contentgen::GenerateOptions& options = {})
      : ok_(!dir_.path().empty() && contentgen::generateContent(dir_.path(), options)) {}

  bool ok() const { return ok_; }
  const std::string& root() const { return dir_.path(); }
  std::string path(std::string_view assetPath) const { return contentPath(dir_.path(), assetPath); }

private:
  TempDir dir_;
  bool ok_;
};

}  // namespace testsupport
