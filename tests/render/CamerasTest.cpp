// The global cameras, camera sampling with the 0.8 factor, and the camera matrices.
#include "render/Cameras.h"

#include <gtest/gtest.h>

namespace {

void expectMatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float tolerance = 1e-5f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(a(r, c), b(r, c), tolerance) << r << "," << c;
}

assets::CameraPath pathWithKeys() {
  assets::CameraPath path;
  path.eyeTrack.setKeys({{0, 0, -10}, {0, 0, -20}});
  path.targetTrack.setKeys({{1, 0, 0}, {3, 0, 0}});
  path.fovTrack.setKeys({1.0f, 2.0f});
  return path;
}

TEST(Cameras, GlobalCamerasStartWithTheDefaults) {
  for (const assets::Camera* camera : {&render::currentCamera(), &render::lightCamera()}) {
    EXPECT_EQ(camera->up, D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(camera->eye, D3DXVECTOR3());
    EXPECT_EQ(camera->target, D3DXVECTOR3());
    EXPECT_EQ(camera->fov, 0.0f);
    EXPECT_EQ(camera->nearPlane, 1.0f);
    EXPECT_EQ(camera->farPlane, 10000.0f);
  }
  EXPECT_NE(&render::currentCamera(), &render::lightCamera());
  EXPECT_EQ(render::displayAspect(), 1.3333334f);
}

// Eye and target as sampled, fov × 0.8; up, near and far are left as they were.
TEST(Cameras, SamplingWritesEyeTargetAndScaledFovOnly) {
  assets::CameraPath path = pathWithKeys();
  path.camera.up = {0, 0, 1};
  path.camera.nearPlane = 5.0f;
  path.camera.farPlane = 50.0f;
  render::sampleCamera(path, 0.05f);
  EXPECT_EQ(path.camera.eye, D3DXVECTOR3(0, 0, -15));
  EXPECT_EQ(path.camera.target, D3DXVECTOR3(2, 0, 0));
  EXPECT_FLOAT_EQ(path.camera.fov, 0.8f * 1.5f);
  EXPECT_EQ(path.camera.up, D3DXVECTOR3(0, 0, 1));
  EXPECT_EQ(path.camera.nearPlane, 5.0f);
  EXPECT_EQ(path.camera.farPlane, 50.0f);
}

TEST(Cameras, SamplingBeyondTheLastKeyHoldsIt) {
  assets::CameraPath path = pathWithKeys();
  render::sampleCamera(path, 30.0f);
  EXPECT_EQ(path.camera.eye, D3DXVECTOR3(0, 0, -20));
  EXPECT_EQ(path.camera.target, D3DXVECTOR3(3, 0, 0));
  EXPECT_EQ(path.camera.fov, 0.8f * 2.0f);
}

TEST(Cameras, AnEmptyPathSamplesToTheOriginWithFovZero) {
  assets::CameraPath path;
  path.camera.eye = {5, 5, 5};
  path.camera.fov = 1.0f;
  render::sampleCamera(path, 1.0f);
  EXPECT_EQ(path.camera.eye, D3DXVECTOR3());
  EXPECT_EQ(path.camera.target, D3DXVECTOR3());
  EXPECT_EQ(path.camera.fov, 0.0f);
}

// The projection takes the display aspect ratio, not anything of the camera's.
TEST(Cameras, MatricesUseTheCameraAndTheDisplayAspect) {
  assets::Camera camera;
  camera.eye = {0, 5, -50};
  camera.target = {0, 0, 10};
  camera.fov = 0.8f;
  camera.nearPlane = 2.0f;
  camera.farPlane = 3000.0f;
  D3DXMATRIX view, projection;
  D3DXMatrixLookAtLH(&view, &camera.eye, &camera.target, &camera.up);
  D3DXMatrixPerspectiveFovLH(&projection, 0.8f, 4.0f / 3.0f, 2.0f, 3000.0f);
  expectMatrixNear(render::cameraView(camera), view);
  expectMatrixNear(render::cameraProjection(camera), projection);
  expectMatrixNear(render::cameraViewProjection(camera), view * projection);

  // The target lands in the centre of the picture.
  D3DXVECTOR3 centre;
  D3DXMATRIX viewProjection = render::cameraViewProjection(camera);
  D3DXVec3TransformCoord(&centre, &camera.target, &viewProjection);
  EXPECT_NEAR(centre.x, 0.0f, 1e-5f);
  EXPECT_NEAR(centre.y, 0.0f, 1e-5f);

  render::setDisplayAspect(16.0f / 9.0f);
  D3DXMatrixPerspectiveFovLH(&projection, 0.8f, 16.0f / 9.0f, 2.0f, 3000.0f);
  expectMatrixNear(render::cameraProjection(camera), projection);
  render::setDisplayAspect(render::kDefaultAspect);
}

}  // namespace
