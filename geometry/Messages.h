// The texts and captions of the messages the geometry generators show, written once here. Used
// only inside geometry/.
#pragma once

namespace geometry {

constexpr const char* kCreateVertexBuffer = "CreateVertexBuffer";
constexpr const char* kCreateIndexBuffer = "CreateIndexBuffer";
constexpr const char* kCreateVertexDeclaration = "CreateVertexDeclaration";

constexpr const char* kGridCaption = "GenerateGrid";  // both grids' buffer failures
constexpr const char* kCubeDeclarationCaption = "Quarv, CubeGrid";
// Caption of the sprites' vertex-buffer failure, subject of their other failures.
constexpr const char* kSpritesInit = "PointSprites Init";
constexpr const char* kSpritesDeclarationCaption = "VertexDecl";
constexpr const char* kSpritesIndexCaption = "CreateIndexBuffer";

}  // namespace geometry
