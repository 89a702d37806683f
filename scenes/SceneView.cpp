// Camera placement and the frame's shared matrices.
#include "scenes/SceneView.h"

#include "render/Cameras.h"

namespace scenes {

assets::Camera& aimCamera(assets::Camera& camera, const Aim& aim) {
  camera.eye = aim.eye;
  camera.target = aim.target;
  camera.fov = aim.fov;
  return camera;
}

assets::Camera& followPath(assets::CameraPath& path, float time) {
  render::sampleCamera(path, time);
  assets::Camera& camera = render::currentCamera();
  camera = path.camera;
  return camera;
}

SceneView sceneView() {
  const assets::Camera& camera = render::currentCamera();
  const assets::Camera& light = render::lightCamera();
  const D3DXMATRIX view = render::cameraView(camera);
  return {view, view * render::cameraProjection(camera), render::cameraViewProjection(light), camera.eye, light.eye};
}

}  // namespace scenes
