// CameraPath loading.
#include "assets/CameraPath.h"

#include "assets/CameraFile.h"
#include "platform/win32/MessageBox.h"

namespace assets {
namespace {

constexpr const char* kOpenCaption = "Fopen()";

}  // namespace

bool CameraPath::load(const char* path) {
  CameraFileData file;
  if (!readCameraFile(path, file)) {
    MessageBoxA(nullptr, path, kOpenCaption, MB_OK);
    return false;
  }
  camera.nearPlane = file.nearPlane;
  camera.farPlane = file.farPlane;
  bool fovTaken = fovTrack.adopt(std::move(file.fov));
  eyeTrack = std::move(file.eye);
  targetTrack = std::move(file.target);
  return fovTaken;
}

}  // namespace assets
