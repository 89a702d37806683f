// Device objects of the OpenGL backend seen through pictures and locks: texture byte order and
// swizzles, samplers, vertex attributes by usage, buffer locks and texture re-locks.
#include <cstring>

#include "tests/platform/gl/GlFixture.h"

namespace gltest {
namespace {

using GlResources = GlFixture;

// Fills level `level` of a texture with 32-bit texels, given as the bytes B,G,R,A of each.
void fill(IDirect3DTexture9* texture, UINT level, const std::vector<std::array<BYTE, 4>>& texels) {
  D3DLOCKED_RECT rect{};
  ASSERT_EQ(texture->LockRect(level, &rect, nullptr, 0), D3D_OK);
  D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(level, &desc);
  ASSERT_EQ(texels.size(), std::size_t(desc.Width) * desc.Height);
  for (UINT y = 0; y < desc.Height; ++y)
    std::memcpy(static_cast<BYTE*>(rect.pBits) + y * rect.Pitch, texels[y * desc.Width].data(), desc.Width * 4);
  ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
}

// Faults caught: texels uploaded as RGBA instead of B,G,R,A (red and blue swapped), rows uploaded
// bottom first, and a re-lock that does not give back the texels.
TEST_F(GlResources, ManagedTextureBytesAreBgraRowsTopFirst) {
  ComPtr<IDirect3DTexture9> texture;
  ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put(), nullptr), D3D_OK);
  fill(texture.get(), 0, {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}, {40, 80, 160, 255}});

  device->BeginScene();
  drawTextured(fullScreen(), texture.get(), {true, false});
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 8, 8), {255, 0, 0}));
  EXPECT_TRUE(near(pixel(image, 56, 8), {0, 255, 0}));
  EXPECT_TRUE(near(pixel(image, 8, 40), {0, 0, 255}));
  EXPECT_TRUE(near(pixel(image, 56, 40), {160, 80, 40}));

  D3DLOCKED_RECT rect{};
  ASSERT_EQ(texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
  const BYTE* bytes = static_cast<const BYTE*>(rect.pBits);
  EXPECT_EQ(rect.Pitch, 8);
  EXPECT_EQ(bytes[rect.Pitch + 4], 40);
  EXPECT_EQ(bytes[rect.Pitch + 6], 160);
  ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
  EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
}

// Faults caught: X8 textures sampling their stored alpha, and R32F sampling as (r,0,0,1) as GL
// would without a swizzle. Both are drawn through a pass that shows the alpha or all channels.
TEST_F(GlResources, X8AlphaAndR32FSampleAsDirect3D) {
  auto alphaOnly = compile(kTexturedVertex, R"(#version 330 core
uniform sampler2D tex0;
in vec2 uv;
out vec4 outColour;
void main() { float a = texture(tex0, uv).a; outColour = vec4(a, a, a, 1.0); }
)");
  ASSERT_TRUE(alphaOnly);
  ComPtr<IDirect3DTexture9> x8, a8;
  ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, x8.put(), nullptr), D3D_OK);
  ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, a8.put(), nullptr), D3D_OK);
  fill(x8.get(), 0, {{10, 20, 30, 0}});
  fill(a8.get(), 0, {{10, 20, 30, 0}});

  // The R32F target gets 0.25 in red; the other channels of the colour written are dropped.
  auto r32f = renderTarget(16, 16, D3DFMT_R32F);
  ComPtr<IDirect3DSurface9> backBuffer;
  device->GetRenderTarget(0, backBuffer.put());
  ASSERT_EQ(device->SetRenderTarget(0, levelOf(r32f.get()).get()), D3D_OK);
  device->BeginScene();
  drawSolid(fullScreen(), 0.25f, 0.0f, 0.0f, 0.0f);
  device->EndScene();
  ASSERT_EQ(device->SetRenderTarget(0, backBuffer.get()), D3D_OK);

  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 0));
  alphaOnly->use();
  alphaOnly->setSampler("tex0", x8.get(), {});
  draw(quad(-1, 0, 0, 1));
  alphaOnly->setSampler("tex0", a8.get(), {});
  draw(quad(0, 0, 1, 1));
  drawTextured(quad(-1, -1, 1, 0), r32f.get());
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 16, 12), {255, 255, 255}));
  EXPECT_TRUE(near(pixel(image, 48, 12), {0, 0, 0}));
  EXPECT_TRUE(near(pixel(image, 32, 36), {64, 255, 255}));
}

// Faults caught: clamp and wrap swapped or ignored, and a null texture sampling as anything but
// opaque black. Texture coordinates run 0..2 across a red|green texture.
TEST_F(GlResources, SamplersWrapClampAndNullIsBlack) {
  ComPtr<IDirect3DTexture9> texture;
  ASSERT_EQ(device->CreateTexture(2, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, texture.put(), nullptr), D3D_OK);
  fill(texture.get(), 0, {{0, 0, 255, 255}, {0, 255, 0, 255}});
  auto stretched = [](float x0, float y0, float x1, float y1) {
    auto vertices = quad(x0, y0, x1, y1);
    for (Vertex& v : vertices) v.u *= 2;
    return vertices;
  };
  device->BeginScene();
  clear(D3DCOLOR_XRGB(255, 255, 255));
  drawTextured(stretched(-1, 0, 1, 1), texture.get(), {false, false});  // wrap (the default)
  drawTextured(stretched(-1, -0.5f, 1, 0), texture.get(), {true, false});
  drawTextured(quad(-1, -1, 1, -0.5f), nullptr);
  device->EndScene();
  d3d9::gl::Image image = present();
  // Third quarter of the width: u in 1..1.5, red when wrapping, green when clamped.
  EXPECT_TRUE(near(pixel(image, 40, 6), {255, 0, 0}));
  EXPECT_TRUE(near(pixel(image, 24, 6), {0, 255, 0}));
  EXPECT_TRUE(near(pixel(image, 40, 30), {0, 255, 0}));
  EXPECT_TRUE(near(pixel(image, 56, 30), {0, 255, 0}));
  EXPECT_TRUE(near(pixel(image, 32, 44), {0, 0, 0}));
}

// Faults caught: COLOR bound to the wrong location or read as R,G,B,A bytes, and TEXCOORD index 1
// not at location 7. One vertex format carries POSITION, COLOR and TEXCOORD1.
TEST_F(GlResources, VertexElementsBindByUsageAndIndex) {
  struct ColourVertex {
    float x, y, z;
    D3DCOLOR colour;
    float u1, v1;
  };
  D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},
                                  {0, 12, D3DDECLTYPE_D3DCOLOR, 0, D3DDECLUSAGE_COLOR, 0},
                                  {0, 16, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 1},
                                  D3DDECL_END()};
  ComPtr<IDirect3DVertexDeclaration9> colourDeclaration;
  ASSERT_EQ(device->CreateVertexDeclaration(elements, colourDeclaration.put()), D3D_OK);
  ComPtr<IDirect3DVertexBuffer9> buffer;
  ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(ColourVertex), D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, buffer.put(),
                                       nullptr),
            D3D_OK);
  auto corners = fullScreen();
  void* data = nullptr;
  ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
  for (int i = 0; i < 4; ++i) {
    ColourVertex v{corners[i].x, corners[i].y, 0.5f, D3DCOLOR_ARGB(255, 255, 128, 0), 0.25f, 0.75f};
    std::memcpy(static_cast<BYTE*>(data) + i * sizeof v, &v, sizeof v);
  }
  ASSERT_EQ(buffer->Unlock(), D3D_OK);
  auto program = compile(R"(#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 5) in vec4 inColour;
layout(location = 7) in vec2 inTexcoord1;
out vec4 colour;
out vec2 uv1;
void main() { gl_Position = vec4(inPosition, 1.0); colour = inColour; uv1 = inTexcoord1; }
)",
                         R"(#version 330 core
uniform float showUv;
in vec4 colour;
in vec2 uv1;
out vec4 outColour;
void main() { outColour = showUv > 0.5 ? vec4(uv1, 0.0, 1.0) : colour; }
)");
  ASSERT_TRUE(program);
  device->SetStreamSource(0, buffer.get(), 0, sizeof(ColourVertex));
  device->SetVertexDeclaration(colourDeclaration.get());
  device->SetIndices(ib.get());
  program->use();
  device->BeginScene();
  const float off = 0.0f, on = 1.0f;
  program->setUniform("showUv", d3d9::UniformKind::Float, &off, 1);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  device->EndScene();
  EXPECT_TRUE(near(pixel(present(), 32, 24), {255, 128, 0}));
  device->BeginScene();
  program->setUniform("showUv", d3d9::UniformKind::Float, &on, 1);
  ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
  device->EndScene();
  EXPECT_TRUE(near(pixel(present(), 32, 24), {64, 191, 0}));
}

// Faults caught: a discarding lock that does not reach the GL buffer before the next draw (the
// second quad drawn where the first was), a draw that sees data written after it, and a plain lock
// that does not give back what was written.
TEST_F(GlResources, DiscardLocksReplaceVerticesBetweenDraws) {
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 0));
  drawSolid(quad(-1, -1, 0, 1), 1, 0, 0);
  drawSolid(quad(0, -1, 1, 1), 0, 0, 1);
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 16, 24), {255, 0, 0}));
  EXPECT_TRUE(near(pixel(image, 48, 24), {0, 0, 255}));

  void* data = nullptr;
  ASSERT_EQ(vb->Lock(sizeof(Vertex), sizeof(Vertex), &data, 0), D3D_OK);
  Vertex second{};
  std::memcpy(&second, data, sizeof second);
  ASSERT_EQ(vb->Unlock(), D3D_OK);
  EXPECT_EQ(second.x, 1.0f);
  EXPECT_EQ(second.y, 1.0f);
  // Ranges past the end are refused.
  EXPECT_EQ(vb->Lock(4 * sizeof(Vertex) - 4, 8, &data, 0), D3DERR_INVALIDCALL);
}

}  // namespace
}  // namespace gltest
