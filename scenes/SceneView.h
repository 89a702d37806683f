// Where a frame looks from: the placement of the current and the light camera, the current camera
// following a path, and the matrices every pass of the frame shares. The cameras are render's two
// globals; main thread only.
#pragma once

#include "assets/Camera.h"
#include "assets/CameraPath.h"
#include "platform/d3dx9/D3DXMath.h"

namespace scenes {

// A fixed placement: eye, target and vertical field of view.
struct Aim {
  D3DXVECTOR3 eye;
  D3DXVECTOR3 target;
  float fov;
};

// Sets the camera's eye, target and fov; up, near and far stay as they were. Returns the camera.
assets::Camera& aimCamera(assets::Camera& camera, const Aim& aim);

// Samples `path` at `time` and copies its camera into the current camera, which it returns.
assets::Camera& followPath(assets::CameraPath& path, float time);

// The matrices and positions of the current and the light camera, taken once per frame.
struct SceneView {
  D3DXMATRIX view;
  D3DXMATRIX viewProjection;
  D3DXMATRIX lightViewProjection;
  D3DXVECTOR3 eye;
  D3DXVECTOR3 lightEye;
};

// The view as the two cameras stand now.
SceneView sceneView();

}  // namespace scenes
