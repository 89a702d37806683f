// What the two scene-state objects load, in their load order.
#include "timeline/Stages.h"

#include <cmath>
#include <cstring>
#include <string>

#include "geometry/CubeGrid.h"
#include "geometry/GenerateGrid.h"
#include "geometry/LatticeNoise.h"
#include "render/Device.h"

namespace timeline {
namespace {

constexpr const char* kOrganMeshes[] = {
    "quarvdemo\\render3\\r3.SCENEPlane01.mesh",     "plane01",
    "quarvdemo\\render3\\r3.SCENEGeoSphere01.mesh", "hemi",
    "quarvdemo\\render3\\r3.SCENEPlane03.mesh",     "face",
    "quarvdemo\\render3\\r3.SCENEorgan1.mesh",      "organ1",
    "quarvdemo\\render3\\r3.SCENEorgan2.mesh",      "organ2",
    "quarvdemo\\render3\\r3.SCENEorgan3.mesh",      "organ3",
    "quarvdemo\\render3\\r3.SCENEorgan4.mesh",      "organ4",
    "quarvdemo\\render3\\r3.SCENEorgan5.mesh",      "organ5",
    "quarvdemo\\render3\\r3.SCENEorgan6.mesh",      "organ6",
    nullptr,
};

constexpr const char* kOrganCameras[] = {
    "quarvdemo\\render3\\r3.SCENECamera05.camera", "quarvdemo\\render3\\r3.SCENECamera06.camera",
    "quarvdemo\\render3\\r3.SCENECamera07.camera", "quarvdemo\\render3\\r3.SCENECamera08.camera"};

constexpr const char* kStageEffects[] = {
    "quarvdemo\\shaders\\demo1_text.fx",      "demo1text",
    "quarvdemo\\shaders\\demo2_partikkel.fx", "partikkel",
    "quarvdemo\\shaders\\demo2_quarv.fx",     "quarv",
    "quarvdemo\\shaders\\demo2_bakke.fx",     "bakke",
    "quarvdemo\\shaders\\render5_endorf.fx",  "endorf",
    nullptr,
};

constexpr const char* kGrotteCameras[] = {
    "quarvdemo\\render1\\grotte.SCENECamera01.camera", "quarvdemo\\render1\\grotte.SCENECamera02.camera",
    "quarvdemo\\render1\\grotte.SCENECamera03.camera", "quarvdemo\\render1\\grotte.SCENECamera04.camera",
    "quarvdemo\\render1\\grotte.SCENECamera05.camera"};

constexpr const char* kGCameras[] = {
    "quarvdemo\\render5\\g.SCENECamera01.camera", "quarvdemo\\render5\\g.SCENECamera02.camera",
    "quarvdemo\\render5\\g.SCENECamera03.camera", "quarvdemo\\render5\\g.SCENECamera04.camera"};

constexpr const char* kVallyCameras[] = {
    "quarvdemo\\vally\\vally.SCENECamera01.camera", "quarvdemo\\vally\\vally.SCENECamera02.camera",
    "quarvdemo\\vally\\vally.SCENECamera03.camera", "quarvdemo\\vally\\vally.SCENECamera04.camera",
    "quarvdemo\\vally\\vally.SCENECamera05.camera", "quarvdemo\\vally\\vally.SCENECamera06.camera"};

constexpr const char* kEndorfMeshes[] = {
    "quarvdemo\\render6\\endorf.SCENEPlane03.mesh",  "planedown",
    "quarvdemo\\render6\\dorf.SCENEGeoSphere01.mesh", "dorf",
    nullptr,
};

constexpr const char* kEndorfCameras[] = {
    "quarvdemo\\render6\\endorf.SCENECamera01.camera", "quarvdemo\\render6\\endorf.SCENECamera02.camera",
    "quarvdemo\\render6\\endorf.SCENECamera03.camera"};

constexpr const char* kR7Cameras[] = {
    "quarvdemo\\render7\\r7.SCENECamera01.camera", "quarvdemo\\render7\\r7.SCENECamera02.camera",
    "quarvdemo\\render7\\r7.SCENECamera03.camera"};

constexpr const char* kBakkeCameras[] = {
    "quarvdemo\\renderFSeries\\bakke.SCENECamera02.camera", "quarvdemo\\renderFSeries\\bakke.SCENECamera03.camera",
    "quarvdemo\\renderFSeries\\bakke.SCENECamera04.camera"};

constexpr const char* kBakkeMeshes[] = {
    "quarvdemo\\renderFSeries\\bakke.SCENEPlane01.mesh", "bakkefg",
    "quarvdemo\\renderFSeries\\bakke.SCENEPlane03.mesh", "bakkebg",
    "quarvdemo\\render3\\hemi.SCENEGeoSphere01.mesh",    "hemi",
    nullptr,
};

// Plane grids: 2 x 200 vertices over the 640 x 480 screen from (-320, -240).
constexpr UINT kPlaneGridColumns = 2, kPlaneGridRows = 200;
constexpr float kScreenWidth = 640, kScreenHeight = 480, kScreenLeft = -320, kScreenBottom = -240;
constexpr UINT kCubeFieldSide = 40;

template <std::size_t N>
void loadCameras(assets::CameraPath* paths, const char* const (&files)[N]) {
  for (std::size_t i = 0; i < N; ++i) paths[i].load(files[i]);
}

template <std::size_t N>
void generatePlaneGrids(IDirect3DDevice9* device, std::array<assets::Mesh, N>& grids, const char* owner) {
  for (std::size_t i = 0; i < N; ++i) {
    std::string name = std::string(owner) + ".planeGrids[" + std::to_string(i) + "]";
    geometry::GenerateGrid(device, grids[i], kPlaneGridColumns, kPlaneGridRows, kScreenWidth, kScreenHeight,
                           kScreenLeft, kScreenBottom, name.c_str());
  }
}

}  // namespace

std::array<float, kSpectrumHistoryLength>& spectrumHistory() {
  static std::array<float, kSpectrumHistoryLength> history{};
  return history;
}

void SpriteSelection::build(const D3DXVECTOR3& at, float radius, const geometry::PointSprites& sprites) {
  centre = at;
  indices.clear();
  records.clear();
  for (std::uint32_t i = 0; i < sprites.positions.size(); ++i) {
    const D3DXVECTOR4& p = sprites.positions[i];
    float dx = p.x - at.x, dy = p.y - at.y, dz = p.z - at.z;
    if (radius > std::sqrt(dx * dx + dy * dy + dz * dz)) {
      indices.push_back(i);
      records.push_back(p);
    }
  }
}

D3DXVECTOR3 swarmPosition(std::uint32_t i, std::uint32_t n) {
  // Products wrap at 32 bits before the noise reads them.
  auto wrapped = [](std::uint32_t v) { return static_cast<std::int32_t>(v); };
  double x = std::sin(geometry::LatticeNoise(wrapped(i * 2345u))) * 10.0;
  double y = (40.0 / double(n)) * double(i);
  double z = geometry::LatticeNoise(wrapped(i * i * 5342211u)) * 10.0;
  return D3DXVECTOR3(float(x), float(y), float(z));
}

OrganStage::OrganStage() {
  IDirect3DDevice9* device = render::device();
  organMeshes.load(device, kOrganMeshes);
  loadCameras(organCameras.data(), kOrganCameras);
  generatePlaneGrids(device, planeGrids, "OrganStage");
  spectrumHistory().fill(0.0f);
  r4Camera09.load("quarvdemo\\render4\\r4.SCENECamera09.camera");
  r4Camera10.load("quarvdemo\\render4\\r4.SCENECamera10.camera");
  r3Camera06.load("quarvdemo\\render3\\r3.SCENECamera06.camera");
  r4Camera12.load("quarvdemo\\render4\\r4.SCENECamera12.camera");
  geometry::CubeGrid(device, cubeGrid, 10, 10, 10, kCubeFieldSide, kCubeFieldSide, "OrganStage.cubeGrid");

  // The rest copy the fourth scene rewrites the cube vertices from every frame.
  cubeVertexCopy.assign(std::size_t(cubeGrid.vertexCount) * sizeof(geometry::CubeVertex), 0);
  void* data = nullptr;
  if (!cubeVertexCopy.empty() && cubeGrid.vertexBuffer &&
      SUCCEEDED(cubeGrid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_NOOVERWRITE))) {
    std::memcpy(cubeVertexCopy.data(), data, cubeVertexCopy.size());
    cubeGrid.vertexBuffer->Unlock();
  }
}

MainStage::MainStage() {
  IDirect3DDevice9* device = render::device();
  stageEffects.load(device, kStageEffects);
  generatePlaneGrids(device, planeGrids, "MainStage");
  grotteMesh.load(device, "quarvdemo\\render1\\grotte.SCENEPlane01.mesh");
  shadowMesh.load(device, "quarvdemo\\render1\\quarv.SCENEshadow.mesh");
  loadCameras(grotteCameras.data(), kGrotteCameras);
  introCamera.load("quarvdemo\\render1\\intro\\intro.SCENECamera01.camera");
  noiseMesh.load(device, "quarvdemo\\render5\\noise.SCENEPlane01.mesh");
  noise2Mesh.load(device, "quarvdemo\\render5\\noise2.SCENEPlane01.mesh");
  noiseMeshB.load(device, "quarvdemo\\render5\\noise.SCENEPlane01.mesh");
  singleSprite.init(device, 1, "MainStage.singleSprite");
  geometry::CubeGrid(device, cubeGrid, 10, 20, 10, kCubeFieldSide, kCubeFieldSide, "MainStage.cubeGrid");
  loadCameras(gCameras.data(), kGCameras);
  vallyMesh.load(device, "quarvdemo\\vally\\vally.SCENEPlane01.mesh");
  loadCameras(vallyCameras.data(), kVallyCameras);
  endorfMeshes.load(device, kEndorfMeshes);
  loadCameras(endorfCameras.data(), kEndorfCameras);
  loadCameras(r7Cameras.data(), kR7Cameras);
  bakkeCamera.load("quarvdemo\\renderFSeries\\bakke.SCENECamera01.camera");
  loadCameras(bakkeCameras.data(), kBakkeCameras);
  bakkeMeshes.load(device, kBakkeMeshes);
  swarmSprites.init(device, kSwarmParticles, "MainStage.swarmSprites");
  sprites40.init(device, 40, "MainStage.sprites40");
  for (std::uint32_t i = 0; i < swarmSprites.positions.size(); ++i) {
    D3DXVECTOR3 p = swarmPosition(i, std::uint32_t(swarmSprites.positions.size()));
    D3DXVECTOR4& record = swarmSprites.positions[i];
    record.x = p.x;
    record.y = p.y;
    record.z = p.z;
  }
  swarmSelection.build(D3DXVECTOR3(0, 0, 0), kSwarmSelectionRadius, swarmSprites);
  geometry::GenerateGrid(device, smallGrid, 2, 2, 30, 15, -15, -7.5f, "MainStage.smallGrid");
  geometry::GenerateGrid(device, wideGrid, 2, 2, 40, 30, -15, -7.5f, "MainStage.wideGrid");
}

}  // namespace timeline
