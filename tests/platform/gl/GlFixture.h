// Test fixture for the OpenGL backend: a headless device with a small back buffer, a dynamic quad
// buffer, two pass programs (solid colour, textured) compiled through the device's shader compiler,
// and helpers to draw, present and read pixels back. Tests skip when EGL cannot start.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/ComPtr.h"
#include "platform/d3d9/PresentParameters.h"
#include "platform/d3d9/ShaderCompiler.h"
#include "platform/d3d9/gl/GlBackend.h"
#include "platform/d3d9/gl/GlDevice.h"
#include "tests/support/RequireGl.h"

namespace gltest {

using d3d9::ComPtr;
using Rgb = std::array<int, 3>;

constexpr UINT kWidth = 64;
constexpr UINT kHeight = 48;
// Per-channel tolerance: drivers may round differently, never by this much.
constexpr int kTolerance = 6;

// POSITION float3 at 0, TEXCOORD0 float2 at 12.
struct Vertex {
  float x, y, z, u, v;
};

inline const char* kSolidVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
uniform mat4 matWorld;
void main() { gl_Position = matWorld * vec4(inPosition, 1.0); }
)";

inline const char* kSolidFragment = R"(#version 330 core
uniform vec4 colour;
out vec4 outColour;
void main() { outColour = colour; }
)";

inline const char* kTexturedVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = vec4(inPosition, 1.0); uv = inTexcoord0; }
)";

inline const char* kTexturedFragment = R"(#version 330 core
uniform sampler2D tex0;
in vec2 uv;
out vec4 outColour;
void main() { outColour = texture(tex0, uv); }
)";

inline constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// The rectangle from (x0, y0) to (x1, y1) in clip space at depth z, texture coordinates (0,0) at its
// top left and (1,1) at its bottom right, as Direct3D maps them. Vertices 0-3 are top left, top
// right, bottom left, bottom right; kQuadIndices makes two triangles clockwise on screen.
inline std::array<Vertex, 4> quad(float x0, float y0, float x1, float y1, float z = 0.5f) {
  return {Vertex{x0, y1, z, 0, 0}, Vertex{x1, y1, z, 1, 0}, Vertex{x0, y0, z, 0, 1}, Vertex{x1, y0, z, 1, 1}};
}
inline constexpr WORD kQuadIndices[6] = {0, 1, 2, 2, 1, 3};
inline std::array<Vertex, 4> fullScreen(float z = 0.5f) { return quad(-1, -1, 1, 1, z); }

inline Rgb pixel(const d3d9::gl::Image& image, unsigned x, unsigned y) {
  const std::uint8_t* p = image.at(x, y);
  return {p[0], p[1], p[2]};
}

inline testing::AssertionResult near(const Rgb& actual, const Rgb& expected, int tolerance = kTolerance) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(actual[i] - expected[i]) > tolerance) {
      return testing::AssertionFailure() << "got (" << actual[0] << "," << actual[1] << "," << actual[2]
                                         << "), want (" << expected[0] << "," << expected[1] << ","
                                         << expected[2] << ") within " << tolerance;
    }
  }
  return testing::AssertionSuccess();
}

class GlFixture : public testing::Test {
protected:
  void SetUp() override { makeDevice(D3DMULTISAMPLE_NONE); }

  void TearDown() override {
    if (device) {
      EXPECT_EQ(glDevice().takeGlErrors(), 0u) << "OpenGL errors during the test";
    }
    solid.reset();
    textured.reset();
    d3d9::useBackend({});
  }

  void makeDevice(D3DMULTISAMPLE_TYPE multisample) {
    std::string reason;
    if (!d3d9::gl::headlessAvailable(reason)) REDKITE_WITHOUT_GL("no headless OpenGL: " + reason);
    d3d9::gl::installHeadless();
    *d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_TRUE(d3d);
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(kWidth, kHeight, 3);
    pp.MultiSampleType = multisample;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
              D3D_OK);
    ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(Vertex), D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                         D3DPOOL_DEFAULT, vb.put(), nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(sizeof kQuadIndices, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                        ib.put(), nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, kQuadIndices, sizeof kQuadIndices);
    ASSERT_EQ(ib->Unlock(), D3D_OK);
    D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                    {0, 12, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0},
                                    D3DDECL_END()};
    ASSERT_EQ(device->CreateVertexDeclaration(elements, declaration.put()), D3D_OK);
    solid = compile(kSolidVertex, kSolidFragment);
    textured = compile(kTexturedVertex, kTexturedFragment);
    ASSERT_TRUE(solid && textured);
    solid->setUniform("matWorld", d3d9::UniformKind::Mat4, kIdentity, 1);
  }

  d3d9::gl::GlDevice& glDevice() { return dynamic_cast<d3d9::gl::GlDevice&>(*device.get()); }

  std::unique_ptr<d3d9::PassProgram> compile(const char* vertex, const char* fragment) {
    std::string log;
    auto program = device->GetShaderCompiler()->compile(vertex, fragment, log);
    EXPECT_TRUE(program) << log;
    return program;
  }

  // Replaces the quad buffer's vertices (a discarding lock) and draws its two triangles with the
  // bound program, inside the current scene.
  void draw(const std::array<Vertex, 4>& vertices) {
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    std::memcpy(data, vertices.data(), sizeof(Vertex) * 4);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    device->SetStreamSource(0, vb.get(), 0, sizeof(Vertex));
    device->SetVertexDeclaration(declaration.get());
    device->SetIndices(ib.get());
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  }

  void drawSolid(const std::array<Vertex, 4>& vertices, float r, float g, float b, float a = 1.0f) {
    solid->use();
    const float colour[4] = {r, g, b, a};
    solid->setUniform("colour", d3d9::UniformKind::Vec4, colour, 1);
    draw(vertices);
  }

  void drawTextured(const std::array<Vertex, 4>& vertices, IDirect3DBaseTexture9* texture,
                    d3d9::SamplerState state = {}) {
    textured->use();
    textured->setSampler("tex0", texture, state);
    draw(vertices);
  }

  void clear(D3DCOLOR colour) {
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
  }

  d3d9::gl::Image present() {
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    d3d9::gl::Image image = d3d9::gl::presentedImage(device.get());
    EXPECT_EQ(image.width, kWidth);
    EXPECT_EQ(image.height, kHeight);
    return image;
  }

  ComPtr<IDirect3DTexture9> renderTarget(UINT width, UINT height, D3DFORMAT format) {
    ComPtr<IDirect3DTexture9> texture;
    EXPECT_EQ(device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, format, D3DPOOL_DEFAULT, texture.put(),
                                    nullptr),
              D3D_OK);
    return texture;
  }

  ComPtr<IDirect3DSurface9> levelOf(IDirect3DTexture9* texture) {
    ComPtr<IDirect3DSurface9> surface;
    EXPECT_EQ(texture->GetSurfaceLevel(0, surface.put()), D3D_OK);
    return surface;
  }

  ComPtr<IDirect3D9> d3d;
  ComPtr<IDirect3DDevice9> device;
  ComPtr<IDirect3DVertexBuffer9> vb;
  ComPtr<IDirect3DIndexBuffer9> ib;
  ComPtr<IDirect3DVertexDeclaration9> declaration;
  std::unique_ptr<d3d9::PassProgram> solid;
  std::unique_ptr<d3d9::PassProgram> textured;
};

}  // namespace gltest
