// Keyframe sampling at 10 keys a second and the FloatData allocation rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "assets/FloatData.h"
#include "assets/QuaternionTrack.h"
#include "assets/VectorTrack.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"

namespace {

using assets::FloatData;
using assets::QuaternionTrack;
using assets::VectorTrack;

FloatData floats(std::vector<float> keys) {
  FloatData track;
  track.setKeys(std::move(keys));
  return track;
}

// Catches an off-by-one in the hold rule (i + 2 ≤ n) and a time not scaled by 10.
TEST(KeyTrackSampling, ThreeKeysBlendThenHoldTheLast) {
  FloatData track = floats({10.0f, 20.0f, 40.0f});
  EXPECT_FLOAT_EQ(track.sample(0.0f), 10.0f);
  EXPECT_FLOAT_EQ(track.sample(0.05f), 15.0f);
  EXPECT_FLOAT_EQ(track.sample(0.15f), 30.0f);  // u = 1.5: keys 1 and 2, f = 0.5
  EXPECT_EQ(track.sample(0.2f), 40.0f);         // i = 2: i + 2 > 3, key 2 exactly
  float nearEnd = track.sample(0.199f);         // keys 1 and 2 with f close to 0.99
  EXPECT_NEAR(nearEnd, 20.0f + 0.99f * 20.0f, 0.01f);
  EXPECT_LT(nearEnd, 40.0f);
  EXPECT_EQ(track.sample(100.0f), 40.0f);
}

TEST(KeyTrackSampling, OneKeyGivesThatKeyAtEveryTime) {
  FloatData f = floats({7.0f});
  VectorTrack v;
  v.setKeys({{1.0f, 2.0f, 3.0f}});
  QuaternionTrack q;
  q.setKeys({{0.0f, 0.0f, 0.0f, 1.0f}});
  for (float t : {0.0f, 0.05f, 0.1f, 1.0f, 100.0f}) {
    EXPECT_EQ(f.sample(t), 7.0f) << t;
    EXPECT_EQ(v.sample(t), D3DXVECTOR3(1.0f, 2.0f, 3.0f)) << t;
    EXPECT_EQ(q.sample(t), D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f)) << t;
  }
}

TEST(KeyTrackSampling, EmptyTracksSampleAsZero) {
  EXPECT_EQ(FloatData().sample(1.0f), 0.0f);
  EXPECT_EQ(VectorTrack().sample(1.0f), D3DXVECTOR3());
  EXPECT_EQ(QuaternionTrack().sample(1.0f), D3DXQUATERNION());
}

// The rule as written truncates a negative u toward zero and would read keys before the first.
TEST(KeyTrackSampling, NegativeTimesNeverReadBeforeTheFirstKey) {
  VectorTrack v;
  v.setKeys({{1.0f, 1.0f, 1.0f}, {2.0f, 2.0f, 2.0f}});
  EXPECT_EQ(v.sample(-0.5f), D3DXVECTOR3());
  EXPECT_EQ(v.sample(-0.05f), D3DXVECTOR3());

  FloatData f = floats({5.0f, 6.0f});
  EXPECT_EQ(f.sample(-0.05f), 5.0f);
  EXPECT_EQ(f.sample(-1000.0f), 5.0f);
  QuaternionTrack q;
  q.setKeys({{0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f}});
  EXPECT_EQ(q.sample(-3.0f), D3DXQUATERNION(0.0f, 1.0f, 0.0f, 0.0f));
}

// Times past what a 32-bit index can hold, and NaN, must not overflow the index conversion.
TEST(KeyTrackSampling, HugeAndNanTimesHoldTheLastKey) {
  FloatData f = floats({1.0f, 2.0f, 3.0f});
  EXPECT_EQ(f.sample(1e30f), 3.0f);
  EXPECT_EQ(f.sample(std::numeric_limits<float>::infinity()), 3.0f);
  EXPECT_EQ(f.sample(std::numeric_limits<float>::quiet_NaN()), 3.0f);
}

TEST(KeyTrackSampling, VectorsBlendPerComponent) {
  VectorTrack v;
  v.setKeys({{0.0f, 10.0f, -4.0f}, {2.0f, 20.0f, 4.0f}});
  D3DXVECTOR3 mid = v.sample(0.05f);
  EXPECT_FLOAT_EQ(mid.x, 1.0f);
  EXPECT_FLOAT_EQ(mid.y, 15.0f);
  EXPECT_FLOAT_EQ(mid.z, 0.0f);
}

// Slerp, not a linear blend: half-way between no turn and a quarter turn about y is an eighth turn
// of unit length (a linear blend would be shorter than 1).
TEST(KeyTrackSampling, QuaternionsBlendAlongTheArc) {
  const float s = std::sin(D3DX_PI / 4), c = std::cos(D3DX_PI / 4);
  QuaternionTrack q;
  q.setKeys({{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, s, 0.0f, c}});
  D3DXQUATERNION mid = q.sample(0.05f);
  EXPECT_NEAR(mid.y, std::sin(D3DX_PI / 8), 1e-5f);
  EXPECT_NEAR(mid.w, std::cos(D3DX_PI / 8), 1e-5f);
}

TEST(FloatData, AllocateGivesZeroKeysOnceAndKeyStopsAtTheEnd) {
  testsupport::TraceCapture capture;
  FloatData track;
  ASSERT_TRUE(track.allocate(3));
  EXPECT_EQ(track.count(), 3u);
  for (float k : track.keys()) EXPECT_EQ(k, 0.0f);
  ASSERT_NE(track.key(2), nullptr);
  *track.key(2) = 9.0f;
  EXPECT_EQ(track.key(3), nullptr);

  EXPECT_FALSE(track.allocate(5));
  EXPECT_EQ(track.count(), 3u);
  EXPECT_EQ(track.keys()[2], 9.0f);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{testsupport::messageBoxLine("FloatData Allready In Use", "Dickhead")});

  track.clear();
  EXPECT_EQ(track.count(), 0u);
  EXPECT_TRUE(track.allocate(1));
}

// A filled track refuses a second read and must not consume the file, so later fields stay in step.
TEST(FloatData, ReadIntoAFilledTrackIsRefusedAndReadsNothing) {
  testsupport::TempDir dir;
  std::string path = dir.file("floats.bin");
  {
    assets::BinaryWriter out(path.c_str());
    const std::uint32_t count = 2;
    const float keys[] = {1.5f, 2.5f};
    out.value(count);
    out.value(keys);
    ASSERT_TRUE(out.finish());
  }
  testsupport::TraceCapture capture;
  FloatData filled = floats({4.0f});
  assets::BinaryReader in(path.c_str());
  EXPECT_FALSE(filled.read(in, 0));
  EXPECT_EQ(in.remaining(), 12u);
  EXPECT_EQ(filled.count(), 1u);
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{testsupport::messageBoxLine("AnimatedFloat Allready Allocated", "Float Anim")});

  FloatData fresh;
  ASSERT_TRUE(fresh.read(in, 0));
  ASSERT_EQ(fresh.count(), 2u);
  EXPECT_EQ(fresh.keys()[1], 2.5f);
}

// A count in the billions is refused before anything is allocated; the track stays as it was.
TEST(KeyTrackRead, CountsTheFileCannotHoldAreRefused) {
  testsupport::TempDir dir;
  std::string path = dir.file("hostile.bin");
  {
    assets::BinaryWriter out(path.c_str());
    out.value(std::uint32_t(0xFFFFFFF0u));
    out.value(D3DXQUATERNION(1, 2, 3, 4));
    ASSERT_TRUE(out.finish());
  }
  QuaternionTrack q;
  q.setKeys({{0, 0, 0, 1}});
  assets::BinaryReader in(path.c_str());
  EXPECT_FALSE(q.read(in, 0));
  EXPECT_EQ(q.count(), 1u);

  assets::BinaryReader again(path.c_str());
  VectorTrack v;
  EXPECT_FALSE(v.read(again, 3000000000u));
  EXPECT_TRUE(v.empty());
}

}  // namespace
