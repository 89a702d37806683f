// Test support for the OpenGL tests: what a test does on a machine without OpenGL (no EGL, no SDL
// video). It skips, unless REDKITE_REQUIRE_GL=1 (set by CI), where a missing driver fails the test,
// so a green run there means the OpenGL paths ran.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace testsupport {

inline bool glRequired() {
  const char* value = std::getenv("REDKITE_REQUIRE_GL");
  return value && std::string_view(value) == "1";
}

}  // namespace testsupport

// Ends the current test (or SetUp) for want of OpenGL: a skip, or a failure under REDKITE_REQUIRE_GL=1.
#define REDKITE_WITHOUT_GL(why)                                                  \
  do {                                                                           \
    if (testsupport::glRequired()) FAIL() << (why) << " (REDKITE_REQUIRE_GL=1)"; \
    GTEST_SKIP() << (why);                                                       \
  } while (0)
