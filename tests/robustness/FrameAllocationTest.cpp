// The frame loop allocates nothing: after one pass over the whole show (which sizes every buffer the
// renderers keep between frames), a second pass over every 1/30 s of it, on the trace device with
// recording off as the null device runs, makes no call of operator new. Every operator new of this
// test program is counted; the count is read around each frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "platform/trace/FrameTrace.h"
#include "tests/robustness/ShowRun.h"

// Every plain and nothrow form is replaced, so whatever form the library picks (a stable sort takes
// its buffer with nothrow new) is counted and freed by the matching form here. GCC sees free() on a
// pointer from operator new when it inlines a new/delete pair; these are the matching pairs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::size_t gAllocations = 0;

void* counted(std::size_t size) noexcept {
  ++gAllocations;
  return std::malloc(size ? size : 1);
}
void* countedOrThrow(std::size_t size) {
  if (void* p = counted(size)) return p;
  throw std::bad_alloc();
}
}  // namespace
void* operator new(std::size_t size) { return countedOrThrow(size); }
void* operator new[](std::size_t size) { return countedOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return counted(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using app::kShowEnd;

TEST(FrameAllocation, NoFrameOfTheWholeShowAllocatesOnceItsBuffersAreSized) {
  robustness::ShowRun run(REDKITE_CONTENT_DIR);
  ASSERT_TRUE(run.started());
  trace::frameTrace().setSink({});  // the null device: nothing recorded

  for (int k = 0; k * 0.1 <= kShowEnd; ++k) run.frame(k * 0.1);

  int frames = 0, allocatingFrames = 0;
  std::string where;
  for (int k = 0; k * (1.0 / 30.0) <= kShowEnd; ++k, ++frames) {
    const double t = k * (1.0 / 30.0);
    const std::size_t before = gAllocations;
    run.frame(t);
    const std::size_t made = gAllocations - before;
    if (made == 0) continue;
    if (++allocatingFrames <= 5) where += " " + std::to_string(t) + " s (" + std::to_string(made) + ")";
  }
  EXPECT_EQ(frames, 8431);
  EXPECT_EQ(allocatingFrames, 0) << "frames that allocated:" << where;
}

// The counter sees the allocations it is meant to find: a frame with recording on builds its trace
// lines in strings.
TEST(FrameAllocation, TheCounterSeesAFrameThatAllocates) {
  robustness::ShowRun run(REDKITE_CONTENT_DIR);
  ASSERT_TRUE(run.started());
  run.frame(121.0);
  const std::size_t before = gAllocations;
  run.frame(121.0);
  EXPECT_GT(gAllocations - before, 0u);
}

}  // namespace
