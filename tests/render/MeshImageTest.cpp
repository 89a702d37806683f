// On OpenGL (llvmpipe, headless): a mesh read from a .mesh file, drawn through an effect read from
// an .fx file into a render target, then the target shown on the back buffer by a screen pass.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/EffectStack.h"
#include "assets/Mesh.h"
#include "assets/MeshFile.h"
#include "platform/d3d9/Backend.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "render/Device.h"
#include "render/EffectBinding.h"
#include "render/RenderTarget.h"
#include "render/ScreenPass.h"
#include "render/Transforms.h"
#include "tests/support/RequireGl.h"
#include "tests/support/TempDir.h"

namespace {

using d3d9::ComPtr;

// Position-only triangle list: a quad over the upper half of the screen, clockwise on screen.
assets::MeshFileData upperHalfQuad() {
  assets::MeshFileData data;
  data.vertexCount = 4;
  data.stride = 12;
  data.mask = 0x0001;
  const float vertices[12] = {-1, 1, 0.5f, 1, 1, 0.5f, -1, 0, 0.5f, 1, 0, 0.5f};
  data.vertices.resize(sizeof vertices);
  std::memcpy(data.vertices.data(), vertices, sizeof vertices);
  data.indices = {0, 1, 2, 2, 1, 3};
  return data;
}

constexpr const char* kEffects = R"(// solid.fx: a flat colour; screen.fx-like card of a texture
--- common
uniform mat4 matProjection;
uniform vec4 baseColor = vec4(1.0, 0.0, 1.0, 1.0);
uniform sampler2D tex0;
--- vertex flat
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = vec4(inPosition, 1.0); }
--- fragment solid
out vec4 colour;
void main() { colour = baseColor; }
--- vertex card
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = matProjection * vec4(inPosition, 1.0); uv = inTexcoord0; }
--- fragment textured
in vec2 uv;
out vec4 colour;
void main() { colour = texture(tex0, uv); }
--- pass 0 flat solid cull=none zenable=false
--- pass 1 card textured cull=none zenable=false
)";

TEST(MeshImage, LoadedMeshThroughAnEffectIntoATargetLandsWhereItShould) {
  std::string reason;
  if (!d3d9::gl::headlessAvailable(reason)) REDKITE_WITHOUT_GL("no headless OpenGL: " + reason);
  testsupport::TempDir dir;
  ASSERT_TRUE(assets::writeMeshFile(dir.file("quad.mesh").c_str(), upperHalfQuad()));
  dir.write("pass.fx", kEffects);

  d3d9::gl::installHeadless();
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  ASSERT_TRUE(d3d);
  D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(64, 48);
  ComPtr<IDirect3DDevice9> device;
  ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
            D3D_OK);
  render::setDevice(device.get());
  {
    assets::Mesh mesh;
    ASSERT_TRUE(mesh.load(device.get(), dir.file("quad.mesh").c_str()));
    assets::EffectStack effects;
    std::string path = dir.file("pass.fx");
    const char* list[] = {path.c_str(), "pass", nullptr};
    ASSERT_TRUE(effects.load(device.get(), list));
    render::RenderTarget target;
    target.create(32, 24, D3DFMT_X8R8G8B8, "halfTargetA");
    assets::Mesh screen;
    // The full-screen rectangle of the screen passes: 2 x 2 vertices over 640 x 480.
    {
      assets::MeshFileData card;
      card.vertexCount = 4;
      card.stride = 20;
      card.mask = 0x0001 | 0x0004;
      const float v[20] = {-320, 240, 1, 0, 0, 320, 240, 1, 1, 0, -320, -240, 1, 0, 1, 320, -240, 1, 1, 1};
      card.vertices.resize(sizeof v);
      std::memcpy(card.vertices.data(), v, sizeof v);
      card.indices = {0, 1, 2, 2, 1, 3};
      ASSERT_TRUE(assets::writeMeshFile(dir.file("card.mesh").c_str(), card));
      ASSERT_TRUE(screen.load(device.get(), dir.file("card.mesh").c_str()));
    }

    // Into the target: cleared green, the mesh magenta over its upper half.
    target.begin();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 255, 0), 1.0f, 0);
    effects.currentKey = "pass";
    render::beginEffect(effects, 0);
    mesh.draw(device.get());
    render::endEffect(effects);
    target.end();

    // The target as a screen card on the back buffer.
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    ID3DXEffect* effect = effects.lookup("pass");
    D3DXMATRIX projection = render::screenProjection();
    effect->SetMatrix("matProjection", &projection);
    effect->SetTexture("tex0", target.texture.get());
    render::beginEffect(effects, 1);
    screen.draw(device.get());
    render::endEffect(effects);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);

    d3d9::gl::Image image = d3d9::gl::presentedImage(device.get());
    ASSERT_EQ(image.width, 64u);
    const std::uint8_t* top = image.at(32, 8);
    const std::uint8_t* bottom = image.at(32, 40);
    EXPECT_GT(top[0], 200);
    EXPECT_LT(top[1], 50);
    EXPECT_GT(top[2], 200);
    EXPECT_LT(bottom[0], 50);
    EXPECT_GT(bottom[1], 200);
    EXPECT_LT(bottom[2], 50);
  }
  render::setDevice(nullptr);
  d3d9::useBackend({});
}

}  // namespace
