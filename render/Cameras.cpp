// Global cameras and camera matrices.
#include "render/Cameras.h"

namespace render {
namespace {

assets::Camera gCurrentCamera;
assets::Camera gLightCamera;
float gDisplayAspect = kDefaultAspect;

}  // namespace

assets::Camera& currentCamera() { return gCurrentCamera; }
assets::Camera& lightCamera() { return gLightCamera; }

float displayAspect() { return gDisplayAspect; }
void setDisplayAspect(float aspect) { gDisplayAspect = aspect; }

void sampleCamera(assets::CameraPath& path, float t) {
  path.camera.eye = path.eyeTrack.sample(t);
  path.camera.target = path.targetTrack.sample(t);
  path.camera.fov = kFovFactor * path.fovTrack.sample(t);
}

D3DXMATRIX cameraView(const assets::Camera& camera) {
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &camera.eye, &camera.target, &camera.up);
  return view;
}

D3DXMATRIX cameraProjection(const assets::Camera& camera) {
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, camera.fov, gDisplayAspect, camera.nearPlane, camera.farPlane);
  return projection;
}

D3DXMATRIX cameraViewProjection(const assets::Camera& camera) { return cameraView(camera) * cameraProjection(camera); }

}  // namespace render
