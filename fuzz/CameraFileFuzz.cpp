// Fuzz target for .camera files: the reader, then a CameraPath load sampled at ordinary and
// hostile times into view and projection matrices, as a scene would each frame.
#include "assets/CameraFile.h"
#include "assets/CameraPath.h"
#include "fuzz/FuzzSupport.h"
#include "render/Cameras.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile file;
  const char* path = file.write(data, size);

  assets::CameraFileData read;
  if (assets::readCameraFile(path, read)) {
    // Every key came from the file: the three tracks and the header fit in it.
    std::uint64_t keyBytes = std::uint64_t(read.fov.count()) * 4 + std::uint64_t(read.eye.count()) * 12 +
                             std::uint64_t(read.target.count()) * 12;
    FUZZ_CHECK(keyBytes + 16 <= size);
  }

  assets::CameraPath camera;
  bool loaded = camera.load(path);
  // A second load of the same path object keeps the first fov track (and is refused as such).
  if (loaded) FUZZ_CHECK(!camera.load(path) || camera.fovTrack.empty());
  for (float t : fuzz::kSampleTimes) {
    render::sampleCamera(camera, t);
    D3DXMATRIX viewProjection = render::cameraViewProjection(camera.camera);
    (void)viewProjection;
  }
  return 0;
}
