// .camera reading and writing, field by field.
#include "assets/CameraFile.h"

namespace assets {

bool readCameraFile(const char* path, CameraFileData& out) {
  BinaryReader in(path);
  if (!in.opened()) return false;
  CameraFileData camera;
  std::uint32_t keyCount = 0;
  if (!in.value(camera.nearPlane) || !in.value(camera.farPlane) || !camera.fov.read(in, 0) ||
      !in.value(keyCount) || !camera.eye.read(in, keyCount) || !camera.target.read(in, keyCount))
    return false;
  out = std::move(camera);
  return true;
}

bool writeCameraFile(const char* path, const CameraFileData& data) {
  BinaryWriter out(path);
  out.value(data.nearPlane);
  out.value(data.farPlane);
  data.fov.write(out, true);
  std::uint32_t shared = data.eye.count();
  bool oneCount = shared != 0 && data.target.count() == shared;
  out.value(oneCount ? shared : std::uint32_t(0));
  data.eye.write(out, !oneCount);
  data.target.write(out, !oneCount);
  return out.finish();
}

}  // namespace assets
