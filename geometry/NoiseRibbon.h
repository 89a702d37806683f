// `NoiseRibbon`: bends a 2 x N grid from `GenerateGrid` into a 5-unit-wide band that follows
// `SmoothNoise`, rewriting all its vertices each frame, and rebuilds the vertex normals from the
// triangles. A pure function of its parameters: nothing survives between rebuilds but the mesh.
// The caller owns the mesh. Main thread only.
#pragma once

#include <cstdint>
#include <span>

#include "assets/Mesh.h"
#include "geometry/GenerateGrid.h"

namespace geometry {

// Rewrites every vertex of `ribbon` (a grid of 2 columns made by GenerateGrid, vertex count V,
// its index copy kept) with one discarding lock: rung r (vertices 2r and 2r + 1) is placed by
// SmoothNoise(period, phase + s, amplitude, seed), s = 2r * length / V, and turned about the y
// axis; then the normals are rebuilt from the index copy. A mesh that is not such a grid (no
// vertex buffer, stride other than 32, odd or zero vertex count) is left alone: false.
bool NoiseRibbon(assets::Mesh& ribbon, float period, float amplitude, float phase, int length, std::int32_t seed);

// The positions and texture coordinates of the rebuild, for V = vertices.size() (even); normals
// are left as they are. With step = L / V and half = L / 2 (float divisions), for i = 2r:
// s = i * step, (nx, ny) from SmoothNoise at phase + s; the left vertex at (nx, s - half, ny) with
// texture coordinate (0, i / V), the right one 5 units further along x with (1, i / V); both are
// then rotated about the y axis through the origin by pi * cos(nx / amplitude).
void ribbonVertices(std::span<GridVertex> vertices, float period, float amplitude, float phase, int length,
                    std::int32_t seed);

// Sets every normal to the normalised sum of (p2 - p0) x (p1 - p0) over the triangles
// (i0, i1, i2) that use the vertex: larger triangles weigh more; a vertex in no triangle, or whose
// sum is zero, gets the zero vector. Triangles naming a vertex past the span are skipped; a
// trailing partial triangle is ignored.
void recomputeNormals(std::span<GridVertex> vertices, std::span<const WORD> indices);

}  // namespace geometry
