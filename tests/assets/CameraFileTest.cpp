// The .camera layout, its writer, and CameraPath loading with its failure rules.
#include "assets/CameraFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "assets/CameraPath.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"

namespace {

using assets::CameraFileData;
using assets::CameraPath;
using testsupport::messageBoxLine;

class Bytes {
public:
  template <typename T>
  Bytes& put(const T& v) {
    const auto* p = reinterpret_cast<const char*>(&v);
    text.append(p, sizeof v);
    return *this;
  }
  std::string text;
};

// F = 2, K = 0, then the eye and target tracks each with their own count of 3.
Bytes zeroKeyCamera() {
  Bytes b;
  b.put(2.0f).put(5000.0f).put(std::uint32_t(2)).put(0.5f).put(0.7f).put(std::uint32_t(0));
  b.put(std::uint32_t(3));
  for (int k = 0; k < 3; ++k) b.put(D3DXVECTOR3(float(k), 0, 0));
  b.put(std::uint32_t(3));
  for (int k = 0; k < 3; ++k) b.put(D3DXVECTOR3(0, float(k), 0));
  return b;
}

TEST(CameraFile, ZeroKeyCountReadsTwoOwnCounts) {
  testsupport::TempDir dir;
  std::string path = dir.write("c.camera", zeroKeyCamera().text);
  CameraFileData data;
  ASSERT_TRUE(assets::readCameraFile(path.c_str(), data));
  EXPECT_EQ(data.nearPlane, 2.0f);
  EXPECT_EQ(data.farPlane, 5000.0f);
  ASSERT_EQ(data.fov.count(), 2u);
  EXPECT_EQ(data.fov.keys()[1], 0.7f);
  ASSERT_EQ(data.eye.count(), 3u);
  ASSERT_EQ(data.target.count(), 3u);
  EXPECT_EQ(data.eye.keys()[2], D3DXVECTOR3(2, 0, 0));
  EXPECT_EQ(data.target.keys()[2], D3DXVECTOR3(0, 2, 0));
}

TEST(CameraFile, SharedKeyCountReadsBothTracksWithoutCounts) {
  Bytes b;
  b.put(1.0f).put(100.0f).put(std::uint32_t(1)).put(0.9f).put(std::uint32_t(2));
  b.put(D3DXVECTOR3(1, 2, 3)).put(D3DXVECTOR3(4, 5, 6)).put(D3DXVECTOR3(7, 8, 9)).put(D3DXVECTOR3(1, 1, 1));
  testsupport::TempDir dir;
  std::string path = dir.write("c.camera", b.text);
  CameraFileData data;
  ASSERT_TRUE(assets::readCameraFile(path.c_str(), data));
  ASSERT_EQ(data.eye.count(), 2u);
  EXPECT_EQ(data.eye.keys()[1], D3DXVECTOR3(4, 5, 6));
  EXPECT_EQ(data.target.keys()[0], D3DXVECTOR3(7, 8, 9));
}

TEST(CameraFile, WriterRoundTripsThroughTheReaderInBothLayouts) {
  testsupport::TempDir dir;
  CameraFileData shared;
  shared.nearPlane = 3.0f;
  shared.farPlane = 9000.0f;
  shared.fov.setKeys({0.5f, 0.6f, 0.7f});
  shared.eye.setKeys({{1, 2, 3}, {4, 5, 6}});
  shared.target.setKeys({{0, 0, 1}, {0, 0, 2}});
  CameraFileData separate;
  separate.eye.setKeys({{1, 2, 3}});
  separate.target.setKeys({{0, 0, 1}, {0, 0, 2}});
  for (const CameraFileData* written : {&shared, &separate}) {
    std::string path = dir.file("out.camera");
    ASSERT_TRUE(assets::writeCameraFile(path.c_str(), *written));
    CameraFileData read;
    ASSERT_TRUE(assets::readCameraFile(path.c_str(), read));
    EXPECT_EQ(read.nearPlane, written->nearPlane);
    EXPECT_EQ(read.farPlane, written->farPlane);
    auto same = [](auto a, auto b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); };
    EXPECT_TRUE(same(read.fov.keys(), written->fov.keys()));
    EXPECT_TRUE(same(read.eye.keys(), written->eye.keys()));
    EXPECT_TRUE(same(read.target.keys(), written->target.keys()));
  }
  // Eye and target of equal length are written with one shared K and no counts of their own.
  std::string original = dir.write("orig.camera", zeroKeyCamera().text);
  CameraFileData data;
  ASSERT_TRUE(assets::readCameraFile(original.c_str(), data));
  std::string copy = dir.file("copy.camera");
  ASSERT_TRUE(assets::writeCameraFile(copy.c_str(), data));
  Bytes expected;
  expected.put(2.0f).put(5000.0f).put(std::uint32_t(2)).put(0.5f).put(0.7f).put(std::uint32_t(3));
  for (int k = 0; k < 3; ++k) expected.put(D3DXVECTOR3(float(k), 0, 0));
  for (int k = 0; k < 3; ++k) expected.put(D3DXVECTOR3(0, float(k), 0));
  std::ifstream in(copy, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), expected.text);
}

// A missing, truncated or hostile file shows "Fopen()" with the path and leaves the path as it
// was: defaults and empty tracks.
TEST(CameraPath, FilesThatCannotBeLoadedLeaveThePathAsItWas) {
  testsupport::TempDir dir;
  std::string whole = zeroKeyCamera().text;
  Bytes hostile;
  hostile.put(1.0f).put(2.0f).put(std::uint32_t(0xFFFFFFFFu)).put(0.5f);
  Bytes hostileEye;
  hostileEye.put(1.0f).put(2.0f).put(std::uint32_t(0)).put(std::uint32_t(0)).put(std::uint32_t(0xC0000000u));
  std::vector<std::string> paths = {dir.file("missing.camera"), dir.write("cut.camera", whole.substr(0, whole.size() - 1)),
                                    dir.write("header.camera", whole.substr(0, 6)),
                                    dir.write("hostile.camera", hostile.text),
                                    dir.write("hostileEye.camera", hostileEye.text)};
  for (const std::string& path : paths) {
    testsupport::TraceCapture capture;
    CameraPath camera;
    EXPECT_FALSE(camera.load(path.c_str()));
    EXPECT_EQ(testsupport::messageBoxes(capture), std::vector<std::string>{messageBoxLine(path, "Fopen()")});
    EXPECT_EQ(camera.camera.nearPlane, 1.0f) << path;
    EXPECT_EQ(camera.camera.farPlane, 10000.0f) << path;
    EXPECT_EQ(camera.camera.up, D3DXVECTOR3(0, 1, 0));
    EXPECT_TRUE(camera.fovTrack.empty() && camera.eyeTrack.empty() && camera.targetTrack.empty()) << path;
  }
}

TEST(CameraPath, LoadFillsPlanesAndTracksAndASecondLoadKeepsTheFovKeys) {
  testsupport::TempDir dir;
  std::string path = dir.write("c.camera", zeroKeyCamera().text);
  CameraPath camera;
  ASSERT_TRUE(camera.load(path.c_str()));
  EXPECT_EQ(camera.camera.nearPlane, 2.0f);
  EXPECT_EQ(camera.camera.farPlane, 5000.0f);
  EXPECT_EQ(camera.fovTrack.count(), 2u);
  EXPECT_EQ(camera.eyeTrack.count(), 3u);
  EXPECT_EQ(camera.targetTrack.count(), 3u);
  EXPECT_EQ(camera.camera.fov, 0.0f);  // set by sampling, not by loading

  CameraFileData other;
  other.fov.setKeys({1.0f});
  other.eye.setKeys({{9, 9, 9}});
  other.target.setKeys({{8, 8, 8}});
  std::string second = dir.file("d.camera");
  ASSERT_TRUE(assets::writeCameraFile(second.c_str(), other));
  testsupport::TraceCapture capture;
  EXPECT_FALSE(camera.load(second.c_str()));
  EXPECT_EQ(testsupport::messageBoxes(capture),
            std::vector<std::string>{messageBoxLine("AnimatedFloat Allready Allocated", "Float Anim")});
  EXPECT_EQ(camera.fovTrack.count(), 2u);
  // The rest of the file is read in step: eye and target are the second file's.
  ASSERT_EQ(camera.eyeTrack.count(), 1u);
  EXPECT_EQ(camera.eyeTrack.keys()[0], D3DXVECTOR3(9, 9, 9));
  EXPECT_EQ(camera.targetTrack.keys()[0], D3DXVECTOR3(8, 8, 8));
}

}  // namespace
