// A whole generator run: every file the show loads is written and nothing else, and the bytes
// equal those of the build's own run (the generator is deterministic).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "tests/tools/GeneratedContent.h"
#include "tests/tools/ManifestPaths.h"

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> filesUnder(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

TEST(ContentRunTest, WritesEveryManifestFileAndTheSameBytesAsTheBuildsRun) {
  testsupport::GeneratedContent content;
  ASSERT_TRUE(content.ok());
  std::vector<std::string> expected;
  for (const auto& list : {testsupport::manifestTextures(), testsupport::manifestMeshes(), testsupport::manifestCameras(),
                           testsupport::manifestMusic()})
    expected.insert(expected.end(), list.begin(), list.end());
  ASSERT_EQ(expected.size(), 56u + 19u + 33u + 2u);
  auto fresh = filesUnder(content.root());
  // Nothing but the manifest's files: a stray or misspelt name shows up here.
  EXPECT_EQ(fresh.size(), expected.size());
  for (const std::string& path : expected) {
    std::string relative = std::filesystem::relative(content.path(path), content.root()).string();
    ASSERT_TRUE(fresh.count(relative)) << path << " was not written";
    EXPECT_GT(fresh[relative].size(), 16u) << path;
    // The build ran the generator too: a second run must give the same bytes.
    std::ifstream in(testsupport::builtContent(path), std::ios::binary);
    std::string built{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(built == fresh[relative]) << path << " differs from the build's run";
  }
}

}  // namespace
