// The .mesh file format: one indexed triangle list with a component mask, then position, rotation
// and scale tracks. Little-endian, no padding, no magic. readMeshFile checks every count against
// what the file can still hold before it allocates; writeMeshFile writes the same layout for the
// content generator and the tests. Plain data; main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "assets/QuaternionTrack.h"
#include "assets/VectorTrack.h"

namespace assets {

struct MeshFileData {
  std::uint32_t reserved1 = 0;              // field 1, ignored
  std::array<float, 16> reservedMatrix{};   // field 2, room for a 4x4 matrix, ignored
  std::uint32_t reserved3 = 0;              // field 3, ignored
  std::uint32_t vertexCount = 0;            // V
  std::uint32_t stride = 0;                 // S, bytes per vertex
  WORD mask = 0;                            // component mask (VertexDecl)
  std::vector<WORD> indices;                // three per triangle; T = indices.size() / 3
  std::vector<BYTE> vertices;               // V × S bytes
  BYTE reserved10 = 0;                      // field 10, ignored
  std::array<std::uint32_t, 3> reserved11{};  // field 11, ignored
  VectorTrack position;
  QuaternionTrack rotation;
  VectorTrack scale;

  std::uint32_t triangleCount() const { return static_cast<std::uint32_t>(indices.size() / 3); }
};

// Reads a whole .mesh file. False when it cannot be opened, or when it is shorter than its counts
// say (a truncated or hostile file); `out` is then left as it was. Bytes after the scale keys are
// ignored.
bool readMeshFile(const char* path, MeshFileData& out);

// Writes `data`. The tracks are written with one shared key count K when all three have the same
// non-zero count, otherwise with K = 0 and a count before each track. False when the data is not
// consistent (indices not a multiple of three, vertices not V × S bytes) or the file cannot be written.
bool writeMeshFile(const char* path, const MeshFileData& data);

}  // namespace assets
