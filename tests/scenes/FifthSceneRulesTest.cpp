// The fifth scene's pure rules: beat flash, fade, path time and morph weight, the swarm placements,
// the ground morph and the cube lift on plain float arrays (no device).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scenes/FifthScene.h"

namespace {

using scenes::kCubeVertexFloats;
using scenes::kCubeVertices;
using scenes::kNoiseVertexFloats;

// A beat's flash starts at 1.3 x the gap to the next beat (capped at 1) and falls linearly to 0 on
// that beat; a time exactly on an entry still looks at that entry; after the last real beat
// (119.45) the next entry is 200.16, so the card stays white to the end of the slot; entry 0 is
// never the reference and past the table the search stays on its last entry.
TEST(FifthSceneRules, BeatFlashFallsToEachBeatAndHoldsWhiteAfterTheLast) {
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(91.0f), 1.3f * (91.45f - 91.0f));
  EXPECT_EQ(scenes::fifthBeatIndex(93.3f), 3);
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(93.3f), 0.0f);
  EXPECT_NEAR(scenes::fifthFlashOpacity(93.31f), 1.3f * (93.8f - 93.31f), 1e-5f);
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(92.48f), 1.0f);
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(119.46f), 1.0f);
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(119.8f), 1.0f);
  EXPECT_EQ(scenes::fifthBeatIndex(-5.0f), 1);
  EXPECT_EQ(scenes::fifthBeatIndex(400.0f), 65);
  EXPECT_FLOAT_EQ(scenes::fifthFlashOpacity(400.0f), 0.0f);
}

// Black covers a = 0 and is gone from a = 2; 50 path seconds pass every 8 s, 50 itself kept; the
// silent morph weight reaches 0.959 at the slot's end and the band term is added after the clamp.
TEST(FifthSceneRules, FadePathTimeAndMorphWeight) {
  EXPECT_FLOAT_EQ(scenes::fifthBlackOpacity(0.0f), 1.0f);
  EXPECT_FLOAT_EQ(scenes::fifthBlackOpacity(1.0f), 0.5f);
  EXPECT_FLOAT_EQ(scenes::fifthBlackOpacity(2.0f), 0.0f);
  EXPECT_FLOAT_EQ(scenes::fifthPathTime(8.0f), 50.0f);
  EXPECT_NEAR(scenes::fifthPathTime(8.16f), 1.0f, 1e-4f);
  EXPECT_NEAR(scenes::fifthPathTime(16.16f), 1.0f, 1e-4f);
  EXPECT_NEAR(scenes::fifthPathTime(28.8f), 30.0f, 1e-4f);
  EXPECT_FLOAT_EQ(scenes::fifthMorphWeight(0.0f, 0.0f), 0.0f);
  EXPECT_NEAR(scenes::fifthMorphWeight(28.8f, 0.0f), 0.959f, 1e-3f);
  EXPECT_NEAR(scenes::fifthMorphWeight(40.0f, 0.3f), 1.9f, 1e-5f);
}

// The two placements the swarm is known by (instance 0 a pure pitch about x), and every ribbon
// lying nearly level at half scale between heights 50 and 150.
TEST(FifthSceneRules, SwarmInstancesSitWhereKnown) {
  const D3DXMATRIX w0 = scenes::swarmWorld(0);
  EXPECT_NEAR(w0._41, -56.358f, 1e-3f);
  EXPECT_NEAR(w0._42, 85.910f, 1e-3f);
  EXPECT_NEAR(w0._43, -0.0845f, 1e-4f);
  EXPECT_NEAR(std::atan2(w0._23, w0._22), 1.54897f, 1e-5f);
  const D3DXMATRIX w1 = scenes::swarmWorld(1);
  EXPECT_NEAR(w1._41, 192.937f, 1e-3f);
  EXPECT_NEAR(w1._42, 82.086f, 1e-3f);
  EXPECT_NEAR(w1._43, -0.2357f, 1e-4f);
  D3DXMATRIX rotation;
  D3DXMatrixRotationYawPitchRoll(&rotation, 1.0f, 1.55322f, 0.5f);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(w1.m[r][c], 0.5f * rotation.m[r][c], 2e-5f) << r << c;
  for (int k = 0; k < scenes::kSwarmInstances; ++k) {
    const D3DXMATRIX w = scenes::swarmWorld(k);
    EXPECT_LT(std::fabs(w._22) / 0.5f, std::sin(0.085f)) << k;
    EXPECT_GE(w._42, 50.0f) << k;
    EXPECT_LE(w._42, 150.0f) << k;
  }
}

// Vertices of 8 floats: position and normal blend (and extrapolate past 1), uv stays; a shorter
// mesh bounds the vertices written, nothing is read or written past any end.
TEST(FifthSceneRules, GroundMorphBlendsPositionAndNormalOnly) {
  const std::vector<float> a = {0, 0, 0, 0, 1, 0, 0.25f, 0.5f, 10, 2, 10, 1, 0, 0, 0.75f, 1};
  const std::vector<float> b = {4, 8, -4, 0, 0, 1, 9, 9, 10, 6, 10, 0, 1, 0, 9, 9};
  std::vector<float> out(16, -1.0f);
  scenes::morphNoiseVertices(a, b, out, 0.5f);
  EXPECT_EQ(out, (std::vector<float>{2, 4, -2, 0, 0.5f, 0.5f, -1, -1, 10, 4, 10, 0.5f, 0.5f, 0, -1, -1}));
  scenes::morphNoiseVertices(a, b, out, 2.0f);
  EXPECT_FLOAT_EQ(out[1], 16.0f);
  std::vector<float> partial(16, -1.0f);
  scenes::morphNoiseVertices(a, std::vector<float>(b.begin(), b.begin() + 8), partial, 1.0f);
  EXPECT_FLOAT_EQ(partial[1], 8.0f);
  EXPECT_FLOAT_EQ(partial[9], -1.0f);
  std::vector<float> shortOut(8, -1.0f);
  scenes::morphNoiseVertices(a, b, shortOut, 1.0f);
  EXPECT_FLOAT_EQ(shortOut[1], 8.0f);
}

std::vector<float> noise(float offset, int vertices) {  // y = offset + vertex index
  std::vector<float> v(std::size_t(vertices) * kNoiseVertexFloats, 0.5f);
  for (int i = 0; i < vertices; ++i) v[std::size_t(i) * kNoiseVertexFloats + 1] = offset + float(i);
  return v;
}

std::vector<float> cubeField(int cubes) {  // float 9 (rest height) 0 for even vertices, 20 for odd
  std::vector<float> c(std::size_t(cubes) * kCubeVertices * kCubeVertexFloats, 7.0f);
  for (std::size_t v = 0; v < c.size() / kCubeVertexFloats; ++v) c[v * kCubeVertexFloats + 9] = (v % 2) ? 20.0f : 0.0f;
  return c;
}

float y(const std::vector<float>& cubes, int cube, int vertex) {
  return cubes[(std::size_t(cube) * kCubeVertices + std::size_t(vertex)) * kCubeVertexFloats + 1];
}

// Cube (r, q) takes the height of noise vertex 162 (r + 1) + 2 q (the first cube of every row
// column 0 of its row, the last cube vertex 6558) plus its rest height; weight 0 is noiseMesh,
// 1 noise2Mesh; lifting again from the same rest heights gives the same field, and only float 1
// of any vertex changes.
TEST(FifthSceneRules, CubeLiftSamplesEveryOtherVertexOfEveryOtherRow) {
  const std::vector<float> a = noise(0.0f, 6561), b = noise(10000.0f, 6561);
  std::vector<float> cubes = cubeField(1600);
  scenes::liftCubeVertices(cubes, a, b, 0.0f);
  for (int r : {0, 1, 17, 39}) {
    EXPECT_FLOAT_EQ(y(cubes, 40 * r, 0), float(162 * (r + 1))) << r;
    EXPECT_FLOAT_EQ(y(cubes, 40 * r, 1), float(162 * (r + 1)) + 20.0f) << r;
  }
  EXPECT_FLOAT_EQ(y(cubes, 40 * 3 + 5, 0), float(162 * 4 + 10));
  EXPECT_FLOAT_EQ(y(cubes, 1599, 23), 6558.0f + 20.0f);
  scenes::liftCubeVertices(cubes, a, b, 1.0f);
  EXPECT_FLOAT_EQ(y(cubes, 0, 0), 10162.0f);
  scenes::liftCubeVertices(cubes, a, b, 2.0f);
  std::vector<float> once = cubeField(1600);
  scenes::liftCubeVertices(once, a, b, 2.0f);
  EXPECT_EQ(cubes, once);
  const std::vector<float> rest = cubeField(1600);
  for (std::size_t i = 0; i < once.size(); ++i) {
    if (i % kCubeVertexFloats != 1) {
      ASSERT_EQ(once[i], rest[i]) << i;
    }
  }
}

// A noise mesh too small for the field (64 x 64 = 4096 vertices, the last sample 6558) is never
// read past its end: cubes whose sample it lacks stay at their rest height. A field of fewer than
// 1600 cubes is lifted as far as it goes.
TEST(FifthSceneRules, CubeLiftStaysInsideShortMeshes) {
  const std::vector<float> a = noise(0.0f, 4096), b = noise(10000.0f, 6561);
  EXPECT_FLOAT_EQ(scenes::cubeLiftHeight(a, b, 40 * 24 + 22, 0.0f), 4094.0f);  // 162 * 25 + 44
  EXPECT_FLOAT_EQ(scenes::cubeLiftHeight(a, b, 40 * 24 + 23, 0.0f), 0.0f);      // 4096 is missing
  EXPECT_FLOAT_EQ(scenes::cubeLiftHeight(a, b, -1, 1.0f), 0.0f);
  std::vector<float> cubes = cubeField(1600);
  scenes::liftCubeVertices(cubes, a, b, 0.5f);
  EXPECT_FLOAT_EQ(y(cubes, 0, 0), 0.5f * 162.0f + 0.5f * 10162.0f);
  EXPECT_FLOAT_EQ(y(cubes, 1599, 1), 20.0f);
  std::vector<float> few = cubeField(3);
  scenes::liftCubeVertices(few, b, b, 0.0f);
  EXPECT_FLOAT_EQ(y(few, 2, 0), 10000.0f + 162.0f + 4.0f);
}

}  // namespace
