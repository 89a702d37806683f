// The two global cameras (the current camera every scene view is built from, and the light camera
// of the shadow and depth passes), the display aspect ratio, camera sampling, and the camera's view
// and projection matrices. The globals live for the whole process; main thread only.
#pragma once

#include "assets/Camera.h"
#include "assets/CameraPath.h"
#include "platform/d3dx9/D3DXMath.h"

namespace render {

constexpr float kDefaultAspect = 4.0f / 3.0f;  // 1.3333334
constexpr float kFovFactor = 0.8f;

assets::Camera& currentCamera();
assets::Camera& lightCamera();

// The aspect ratio chosen in the setup dialog; 4:3 until it sets another.
float displayAspect();
void setDisplayAspect(float aspect);

// Sets the path's eye and target to their tracks at t and its fov to 0.8 × the fov track at t; up,
// near and far stay. Empty tracks give (0, 0, 0) and fov 0.
void sampleCamera(assets::CameraPath& path, float t);

D3DXMATRIX cameraView(const assets::Camera& camera);
// Perspective with the camera's fov, near and far and the display aspect ratio.
D3DXMATRIX cameraProjection(const assets::Camera& camera);
D3DXMATRIX cameraViewProjection(const assets::Camera& camera);

}  // namespace render
