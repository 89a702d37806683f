// A frame on the trace device: a mesh read from a file, drawn inside an effect pass read from an
// .fx file, into a render target and then onto the back buffer. Checks the calls that matter and
// that the device refused none.
#include <gtest/gtest.h>

#include "assets/EffectStack.h"
#include "assets/MeshFile.h"
#include "assets/MeshProxy.h"
#include "render/Device.h"
#include "render/EffectBinding.h"
#include "render/RenderTarget.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

constexpr const char* kPlainEffect = R"(// plain.fx: one coloured pass
--- common
uniform mat4 matWorldViewProjection;
--- vertex object
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = matWorldViewProjection * vec4(inPosition, 1.0); }
--- fragment white
out vec4 colour;
void main() { colour = vec4(1.0); }
--- pass 0 object white cull=none
)";

// The "ev" value of a trace line.
std::string eventName(const std::string& line) {
  const std::string prefix = R"({"ev":")";
  return line.substr(prefix.size(), line.find('"', prefix.size()) - prefix.size());
}

TEST(MeshFrame, ALoadedMeshDrawsThroughAnEffectIntoATargetAndTheBackBuffer) {
  testsupport::TempDir dir;
  assets::MeshFileData quad;
  quad.vertexCount = 4;
  quad.stride = 12;
  quad.mask = 0x0001;
  quad.indices = {0, 1, 2, 2, 1, 3};
  const float positions[12] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
  quad.vertices.assign(reinterpret_cast<const BYTE*>(positions), reinterpret_cast<const BYTE*>(positions) + 48);
  quad.position.setKeys({{0, 0, 5}});
  quad.rotation.setKeys({{0, 0, 0, 1}});
  quad.scale.setKeys({{1, 1, 1}});
  std::string meshPath = dir.file("quad.mesh");
  ASSERT_TRUE(assets::writeMeshFile(meshPath.c_str(), quad));
  std::string effectPath = dir.write("plain.fx", kPlainEffect);

  testsupport::TraceDeviceHolder holder(640, 480);
  IDirect3DDevice9* device = holder.device.get();
  render::setDevice(device);
  d3d9::ComPtr<IDirect3DSurface9> screenDepth;
  device->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, screenDepth.put(), nullptr);
  device->SetDepthStencilSurface(screenDepth.get());

  assets::MeshProxy meshes;
  const char* meshList[] = {meshPath.c_str(), "quad", nullptr};
  ASSERT_TRUE(meshes.load(device, meshList));
  assets::EffectStack effects;
  const char* effectList[] = {effectPath.c_str(), "plain", nullptr};
  ASSERT_TRUE(effects.load(device, effectList));
  render::RenderTarget target;
  target.create(256, 256, D3DFMT_X8R8G8B8, "screenCopyTarget");

  testsupport::TraceCapture capture;
  auto drawQuad = [&] {
    effects.currentKey = "plain";
    D3DXMATRIX wvp = render::meshWorld(*meshes.lookup("quad"), 0.0f) * render::screenProjection();
    effects.lookup(effects.currentKey->c_str())->SetMatrix("matWorldViewProjection", &wvp);
    render::beginEffect(effects, 0);
    meshes.lookup("quad")->draw(device);
    render::endEffect(effects);
  };
  target.begin();
  drawQuad();
  target.end();
  device->BeginScene();
  drawQuad();
  device->EndScene();

  std::vector<std::string> names;
  for (const std::string& line : capture.lines) names.push_back(eventName(line));
  EXPECT_EQ(names, (std::vector<std::string>{"setRenderTarget", "setDepthStencil", "beginScene", "setMatrix",
                                             "effectBegin", "beginPass", "draw", "endPass", "effectEnd", "endScene",
                                             "setRenderTarget", "setDepthStencil", "beginScene", "setMatrix",
                                             "effectBegin", "beginPass", "draw", "endPass", "effectEnd",
                                             "endScene"}));
  std::string effectName, meshName;
  trace::appendJsonString(effectName, effectPath);
  trace::appendJsonString(meshName, meshPath);
  EXPECT_EQ(capture.lines[4], R"({"ev":"effectBegin","effect":)" + effectName + R"(,"passes":1})");
  EXPECT_EQ(capture.lines[5], R"({"ev":"beginPass","effect":)" + effectName + R"(,"pass":0})");
  EXPECT_EQ(capture.lines[6], R"({"ev":"draw","vb":)" + meshName + R"(,"base":0,"vertices":4,"start":0,"primitives":2})");
  EXPECT_EQ(capture.lines[16], capture.lines[6]);
  EXPECT_EQ(holder.invalidCalls(), 0u);

  // The effect's pass turned culling off; End restored it.
  DWORD cull = 0;
  device->GetRenderState(D3DRS_CULLMODE, &cull);
  EXPECT_EQ(cull, DWORD(D3DCULL_CCW));
  render::setDevice(nullptr);
}

}  // namespace
