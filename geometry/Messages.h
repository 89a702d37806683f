// The texts and captions of the messages the geometry generators show, written once here. Used
// only inside geometry/.
#pragma once

namespace geometry::messages {

constexpr const char* kCreateVertexBuffer = "CreateVertexBuffer";
constexpr const char* kCreateIndexBuffer = "CreateIndexBuffer";
constexpr const char* kCreateVertexDeclaration = "CreateVertexDeclaration";

constexpr const char* kGridCaption = "GenerateGrid";           // both grids' buffer failures
constexpr const char* kCubeDeclarationCaption = "Quarv, CubeGrid";
constexpr const char* kSpritesInit = "PointSprites Init";  // caption of its vertex buffer failure, subject of the others
constexpr const char* kSpritesDeclarationCaption = "VertexDecl";
constexpr const char* kSpritesIndexCaption = "CreateIndexBuffer";

}  // namespace geometry::messages
