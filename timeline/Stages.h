// The scene-state objects the renderers receive: OrganStage (third and fourth scenes) and
// MainStage (every other scene), each loading its meshes, camera paths, grids and particles in its
// constructor. The entry function owns both for the run; members are read and changed by the
// scenes directly. Also the fourth scene's spectrum history, which OrganStage clears.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "assets/CameraPath.h"
#include "assets/EffectStack.h"
#include "assets/Mesh.h"
#include "assets/MeshProxy.h"
#include "geometry/PointSprites.h"

namespace timeline {

inline constexpr std::size_t kSpectrumHistoryLength = 41;
std::array<float, kSpectrumHistoryLength>& spectrumHistory();

// The particles of a PointSprites object within a radius of a centre: their indices and copies of
// their 16-byte position records.
struct SpriteSelection {
  std::vector<std::uint32_t> indices;
  std::vector<D3DXVECTOR4> records;
  D3DXVECTOR3 centre{};

  // Selects every particle strictly closer than `radius` to `centre`, in index order.
  void build(const D3DXVECTOR3& centre, float radius, const geometry::PointSprites& sprites);
};

class OrganStage {
public:
  OrganStage();
  OrganStage(const OrganStage&) = delete;
  OrganStage& operator=(const OrganStage&) = delete;

  std::array<assets::Mesh, 4> planeGrids;
  assets::MeshProxy organMeshes;
  std::array<assets::CameraPath, 5> organCameras;
  assets::CameraPath r4Camera09;
  assets::CameraPath r4Camera10;
  assets::CameraPath r3Camera06;
  assets::CameraPath r4Camera12;
  std::vector<BYTE> cubeVertexCopy;  // the cube grid's vertices as built, 44 bytes each
  assets::Mesh cubeGrid;
};

class MainStage {
public:
  MainStage();
  MainStage(const MainStage&) = delete;
  MainStage& operator=(const MainStage&) = delete;

  assets::EffectStack stageEffects;
  std::array<assets::Mesh, 6> planeGrids;
  assets::Mesh grotteMesh;
  assets::Mesh shadowMesh;
  std::array<assets::CameraPath, 5> grotteCameras;
  assets::CameraPath introCamera;
  assets::Mesh noiseMesh;
  assets::Mesh noise2Mesh;
  assets::Mesh noiseMeshB;
  assets::Mesh cubeGrid;
  geometry::PointSprites singleSprite;
  std::array<assets::CameraPath, 4> gCameras;
  assets::Mesh vallyMesh;
  std::array<assets::CameraPath, 6> vallyCameras;
  assets::MeshProxy endorfMeshes;
  std::array<assets::CameraPath, 5> endorfCameras;
  std::array<assets::CameraPath, 3> r7Cameras;
  geometry::PointSprites swarmSprites;
  SpriteSelection swarmSelection;
  assets::MeshProxy bakkeMeshes;
  assets::CameraPath bakkeCamera;
  std::array<assets::CameraPath, 3> bakkeCameras;
  geometry::PointSprites sprites40;
  assets::Mesh smallGrid;
  assets::Mesh wideGrid;
};

// Where swarm particle i of n sits: a column 40 high along y, x and z from the lattice noise.
D3DXVECTOR3 swarmPosition(std::uint32_t i, std::uint32_t n);

inline constexpr UINT kSwarmParticles = 10000;
inline constexpr float kSwarmSelectionRadius = 2000;

}  // namespace timeline
