// Writing files under the content root.
#include "tools/contentgen/Output.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace contentgen {

std::string Output::path(std::string_view manifestPath) {
  std::string relative(manifestPath);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  std::filesystem::path full = std::filesystem::path(root_) / relative;
  std::error_code error;
  std::filesystem::create_directories(full.parent_path(), error);
  return full.string();
}

void Output::png(std::string_view manifestPath, const Image& image, int channels) {
  done(writePng(path(manifestPath), image, channels), "PNG", manifestPath);
}

void Output::jpg(std::string_view manifestPath, const Image& image, int quality) {
  done(writeJpg(path(manifestPath), image, quality), "JPEG", manifestPath);
}

void Output::mesh(std::string_view manifestPath, const assets::MeshFileData& data) {
  done(assets::writeMeshFile(path(manifestPath).c_str(), data), "mesh", manifestPath);
}

void Output::camera(std::string_view manifestPath, const assets::CameraFileData& data) {
  done(assets::writeCameraFile(path(manifestPath).c_str(), data), "camera", manifestPath);
}

void Output::bytes(std::string_view manifestPath, const std::vector<unsigned char>& data) {
  std::ofstream out(path(manifestPath), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  done(static_cast<bool>(out), "file", manifestPath);
}

void Output::fail(std::string_view what, std::string_view manifestPath) {
  ++failures_;
  std::fprintf(stderr, "contentgen: %.*s failed: %.*s\n", int(what.size()), what.data(), int(manifestPath.size()),
               manifestPath.data());
}

void Output::done(bool success, std::string_view what, std::string_view manifestPath) {
  if (success) {
    ++written_;
  } else {
    fail(what, manifestPath);
  }
}

}  // namespace contentgen
