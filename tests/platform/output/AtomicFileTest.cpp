#include "platform/output/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/TempDir.h"

namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Writes `size` bytes to `path` in a child whose files may not grow past `limit` bytes (EFBIG,
// SIGXFSZ ignored); the child's exit code is 0 when the write reported success, 1 when it failed
// with the reason "PATH: File too large".
int writeUnderLimit(const std::string& path, std::size_t size, rlim_t limit) {
  pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit cap{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &cap);
    std::string error;
    bool written = output::writeWholeFile(path, std::string(size, 'x'), error);
    ::_exit(written ? 0 : error == path + ": File too large" ? 1 : 2);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Faults caught: a write cut short by a full disk reported as success, a half file left at the
// target or as a .part, and a previous whole file replaced by a broken one.
TEST(AtomicFile, AFailedWriteLeavesTheTargetAsItWasAndNoPart) {
  testsupport::TempDir dir;
  struct Case {
    const char* name;
    std::size_t size;
    const char* before;  // the target's content before the write, or null for none
    int exit;
    const char* after;   // what the target holds afterwards, or null for nothing
  };
  const Case cases[] = {
      {"fits.bin", 1000, nullptr, 0, "whole"},
      {"new.bin", 100000, nullptr, 1, nullptr},
      {"old.bin", 100000, "previous", 1, "previous"},
      {"replaced.bin", 1000, "previous", 0, "whole"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.file(c.name);
    if (c.before) dir.write(c.name, c.before);
    EXPECT_EQ(writeUnderLimit(path, c.size, 50000), c.exit);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    if (!c.after) {
      EXPECT_FALSE(std::filesystem::exists(path));
    } else if (std::string(c.after) == "whole") {
      EXPECT_EQ(contents(path), std::string(c.size, 'x'));
    } else {
      EXPECT_EQ(contents(path), c.after);
    }
  }
}

// Faults caught: a device such as /dev/full treated as a folder to put a .part in, or its ENOSPC
// lost in the stdio buffer; a missing folder reported as written.
TEST(AtomicFile, DevicesAreWrittenInPlaceAndEveryErrorIsReported) {
  std::string error;
  EXPECT_FALSE(output::writeWholeFile("/dev/full", "bytes", error));
  EXPECT_EQ(error, "/dev/full: No space left on device");
  EXPECT_TRUE(output::writeWholeFile("/dev/null", "bytes", error)) << error;
  EXPECT_FALSE(output::writeWholeFile("/nonexistent-dir/x.bin", "bytes", error));
  EXPECT_EQ(error, "/nonexistent-dir/x.bin: No such file or directory");
}

// Faults caught: an abandoned or destroyed writer leaving its .part, and SIGTERM leaving the .part
// of a file being written.
TEST(AtomicFile, UnfinishedFilesDoNotSurvive) {
  testsupport::TempDir dir;
  const std::string path = dir.file("a.bin");
  {
    output::AtomicFile file(path);
    ASSERT_TRUE(file.write("half"));
    EXPECT_TRUE(std::filesystem::exists(path + ".part"));
  }
  EXPECT_FALSE(std::filesystem::exists(path + ".part"));
  EXPECT_FALSE(std::filesystem::exists(path));

  pid_t child = ::fork();
  if (child == 0) {
    output::PartCleanupScope cleanup;
    output::AtomicFile file(path);
    file.write("half");
    std::fflush(nullptr);
    ::raise(SIGTERM);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

}  // namespace
