// The content folder being written: turns a manifest path ("quarvdemo\render1\sky04.png") into a
// file under the output root, creates its folders, writes images, meshes, camera paths and raw
// bytes, and remembers the first failure. One per generator run; not thread-safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "assets/CameraFile.h"
#include "assets/MeshFile.h"
#include "tools/contentgen/Image.h"

namespace contentgen {

class Output {
public:
  explicit Output(std::string root) : root_(std::move(root)) {}

  // The host path of a manifest path ('\' becomes '/'), with its folders created.
  std::string path(std::string_view manifestPath);

  void png(std::string_view manifestPath, const Image& image, int channels);
  void jpg(std::string_view manifestPath, const Image& image, int quality);
  void mesh(std::string_view manifestPath, const assets::MeshFileData& data);
  void camera(std::string_view manifestPath, const assets::CameraFileData& data);
  void bytes(std::string_view manifestPath, const std::vector<unsigned char>& data);

  // Records a failure (printed on standard error); the run goes on and reports it at the end.
  void fail(std::string_view what, std::string_view manifestPath);
  bool ok() const { return failures_ == 0; }
  int filesWritten() const { return written_; }

private:
  void done(bool success, std::string_view what, std::string_view manifestPath);

  std::string root_;
  int written_ = 0;
  int failures_ = 0;
};

}  // namespace contentgen
