// .mesh reading and writing, field by field.
#include "assets/MeshFile.h"

#include <limits>

namespace assets {
namespace {

constexpr std::uint64_t kMaxBufferBytes = std::numeric_limits<UINT>::max();

bool readGeometry(BinaryReader& in, MeshFileData& mesh) {
  std::uint32_t triangles = 0;
  if (!in.value(mesh.reserved1) || !in.value(mesh.reservedMatrix) || !in.value(mesh.reserved3) ||
      !in.value(triangles) || !in.value(mesh.vertexCount) || !in.value(mesh.stride) || !in.value(mesh.mask))
    return false;
  // Both blocks must fit in the file and in one device buffer before either is allocated.
  std::uint64_t indexCount = std::uint64_t(triangles) * 3;
  std::uint64_t vertexBytes = std::uint64_t(mesh.vertexCount) * mesh.stride;
  if (indexCount * sizeof(WORD) > kMaxBufferBytes || vertexBytes > kMaxBufferBytes) return false;
  if (!in.holds(indexCount, sizeof(WORD))) return false;
  mesh.indices.resize(indexCount);
  if (!in.bytes(mesh.indices.data(), indexCount * sizeof(WORD))) return false;
  if (!in.holds(vertexBytes, 1)) return false;
  mesh.vertices.resize(vertexBytes);
  return in.bytes(mesh.vertices.data(), vertexBytes);
}

bool readTracks(BinaryReader& in, MeshFileData& mesh) {
  std::uint32_t keyCount = 0;
  if (!in.value(mesh.reserved10) || !in.value(mesh.reserved11) || !in.value(keyCount)) return false;
  return mesh.position.read(in, keyCount) && mesh.rotation.read(in, keyCount) && mesh.scale.read(in, keyCount);
}

}  // namespace

bool readMeshFile(const char* path, MeshFileData& out) {
  BinaryReader in(path);
  if (!in.opened()) return false;
  MeshFileData mesh;
  if (!readGeometry(in, mesh) || !readTracks(in, mesh)) return false;
  out = std::move(mesh);
  return true;
}

bool writeMeshFile(const char* path, const MeshFileData& data) {
  if (data.indices.size() % 3 != 0 || data.indices.size() / 3 > std::numeric_limits<std::uint32_t>::max() ||
      data.vertices.size() != std::uint64_t(data.vertexCount) * data.stride)
    return false;
  BinaryWriter out(path);
  out.value(data.reserved1);
  out.value(data.reservedMatrix);
  out.value(data.reserved3);
  out.value(data.triangleCount());
  out.value(data.vertexCount);
  out.value(data.stride);
  out.value(data.mask);
  out.bytes(data.indices.data(), data.indices.size() * sizeof(WORD));
  out.bytes(data.vertices.data(), data.vertices.size());
  out.value(data.reserved10);
  out.value(data.reserved11);
  std::uint32_t shared = data.position.count();
  bool oneCount = shared != 0 && data.rotation.count() == shared && data.scale.count() == shared;
  out.value(oneCount ? shared : std::uint32_t(0));
  data.position.write(out, !oneCount);
  data.rotation.write(out, !oneCount);
  data.scale.write(out, !oneCount);
  return out.finish();
}

}  // namespace assets
