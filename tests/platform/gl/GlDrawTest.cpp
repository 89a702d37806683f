// Pictures drawn through the d3d9 interface on llvmpipe: orientation, winding, depth, blending,
// matrices, multisampling and surface copies, each compared with tolerance.
#include "tests/platform/gl/GlFixture.h"

namespace gltest {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

using GlDraw = GlFixture;

// Faults caught: a missing clip-origin flip or a flipped readback (the picture upside down), a
// render target sampled upside down or mirrored in a screen pass, and a viewport that does not
// follow SetRenderTarget.
TEST_F(GlDraw, UpperQuadLandsInTopRowsDirectlyAndThroughATarget) {
  device->BeginScene();
  clear(D3DCOLOR_ARGB(0, 0, 0, 0));
  drawSolid(quad(-1, 0, 1, 1), 1, 0, 0);  // clip y > 0: the upper half
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 32, 2), kRed));
  EXPECT_TRUE(near(pixel(image, 32, 21), kRed));
  EXPECT_TRUE(near(pixel(image, 32, 26), kBlack));
  EXPECT_TRUE(near(pixel(image, 32, 45), kBlack));
  // An X8 back buffer has no alpha: the readback is opaque although the clear's alpha was 0.
  EXPECT_EQ(image.at(32, 45)[3], 255);

  // The upper-left quadrant drawn into a half-size target (the viewport follows the target and
  // comes back with the back buffer), then the target drawn over the whole screen.
  auto target = renderTarget(kWidth / 2, kHeight / 2, D3DFMT_X8R8G8B8);
  auto surface = levelOf(target.get());
  ComPtr<IDirect3DSurface9> backBuffer;
  ASSERT_EQ(device->GetRenderTarget(0, backBuffer.put()), D3D_OK);
  ASSERT_EQ(device->SetRenderTarget(0, surface.get()), D3D_OK);
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 255));
  drawSolid(quad(-1, 0, 0, 1), 1, 0, 0);
  device->EndScene();
  ASSERT_EQ(device->SetRenderTarget(0, backBuffer.get()), D3D_OK);
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 255, 0));
  drawTextured(fullScreen(), target.get(), {true, false});
  device->EndScene();
  image = present();
  EXPECT_TRUE(near(pixel(image, 4, 4), kRed));
  EXPECT_TRUE(near(pixel(image, 60, 4), kBlue));
  EXPECT_TRUE(near(pixel(image, 4, 44), kBlue));
  EXPECT_TRUE(near(pixel(image, 60, 44), kBlue));
}

// Fault caught: the wrong glFrontFace or cull face under the flipped clip origin. Left triangle
// clockwise on screen (Direct3D's front), right one counter-clockwise.
TEST_F(GlDraw, CullModesKeepTheWindingDirect3DKeeps) {
  auto drawBoth = [&] {
    drawSolid({Vertex{-0.9f, 0.9f, 0.5f, 0, 0}, Vertex{-0.1f, 0.9f, 0.5f, 0, 0}, Vertex{-0.9f, -0.9f, 0.5f, 0, 0},
               Vertex{-0.9f, -0.9f, 0.5f, 0, 0}},
              0, 1, 0);
    drawSolid({Vertex{0.1f, 0.9f, 0.5f, 0, 0}, Vertex{0.1f, -0.9f, 0.5f, 0, 0}, Vertex{0.9f, 0.9f, 0.5f, 0, 0},
               Vertex{0.9f, 0.9f, 0.5f, 0, 0}},
              0, 1, 0);
  };
  const std::pair<D3DCULL, std::pair<Rgb, Rgb>> cases[] = {
      {D3DCULL_CCW, {kGreen, kBlack}}, {D3DCULL_CW, {kBlack, kGreen}}, {D3DCULL_NONE, {kGreen, kGreen}}};
  for (const auto& [mode, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "cull mode " << mode);
    device->SetRenderState(D3DRS_CULLMODE, mode);
    device->BeginScene();
    clear(D3DCOLOR_XRGB(0, 0, 0));
    drawBoth();
    device->EndScene();
    d3d9::gl::Image image = present();
    EXPECT_TRUE(near(pixel(image, 12, 12), expected.first));  // inside the left triangle
    EXPECT_TRUE(near(pixel(image, 52, 12), expected.second));  // inside the right triangle
  }
}

// Faults caught: depth range -1..1 instead of 0..1 (a quad at z 0.4 would then land at depth 0.7),
// a depth test that follows draw order, or one left off with ZENABLE.
TEST_F(GlDraw, DepthIsZeroToOneAndNearerWins) {
  ComPtr<IDirect3DSurface9> depth;
  ASSERT_EQ(device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                              depth.put(), nullptr),
            D3D_OK);
  ASSERT_EQ(device->SetDepthStencilSurface(depth.get()), D3D_OK);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

  for (bool nearFirst : {true, false}) {
    SCOPED_TRACE(nearFirst ? "near quad first" : "far quad first");
    device->BeginScene();
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    for (int i = 0; i < 2; ++i) {
      if ((i == 0) == nearFirst) {
        drawSolid(fullScreen(0.2f), 1, 0, 0);
      } else {
        drawSolid(fullScreen(0.6f), 0, 0, 1);
      }
    }
    device->EndScene();
    EXPECT_TRUE(near(pixel(present(), 32, 24), kRed));
  }

  // Depth cleared to 0.5: z 0.4 passes, z 0.6 fails, z 0 (the near plane) is drawn, z -0.5 is clipped.
  device->BeginScene();
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 0.5f, 0), D3D_OK);
  drawSolid(quad(-1, 0, 0, 1, 0.4f), 1, 0, 0);
  drawSolid(quad(0, 0, 1, 1, 0.6f), 1, 0, 0);
  drawSolid(quad(-1, -1, 0, 0, 0.0f), 0, 1, 0);
  drawSolid(quad(0, -1, 1, 0, -0.5f), 0, 1, 0);
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 16, 12), kRed));
  EXPECT_TRUE(near(pixel(image, 48, 12), kBlack));
  EXPECT_TRUE(near(pixel(image, 16, 36), kGreen));
  EXPECT_TRUE(near(pixel(image, 48, 36), kBlack));

  // With ZENABLE false the later, farther quad covers the nearer one.
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->BeginScene();
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
  drawSolid(fullScreen(0.2f), 1, 0, 0);
  drawSolid(fullScreen(0.6f), 0, 0, 1);
  device->EndScene();
  EXPECT_TRUE(near(pixel(present(), 32, 24), kBlue));
}

// Faults caught: a wrong blend factor or equation mapping, factors applied under MIN, and a Clear
// that goes through the blend state.
TEST_F(GlDraw, BlendStatesCombineAsDirect3D) {
  struct Case {
    const char* name;
    D3DBLENDOP op;
    D3DBLEND source, dest;
    std::array<float, 4> colour;
    Rgb expected;  // over a clear of (64, 128, 192)
  };
  const Case cases[] = {
      {"add one one", D3DBLENDOP_ADD, D3DBLEND_ONE, D3DBLEND_ONE, {0.25f, 0.25f, 0.25f, 1}, {128, 192, 255}},
      {"min", D3DBLENDOP_MIN, D3DBLEND_ZERO, D3DBLEND_ZERO, {0.4f, 0.4f, 0.4f, 1}, {64, 102, 102}},
      {"alpha", D3DBLENDOP_ADD, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, {1, 0, 0, 0.25f}, {112, 96, 144}},
      {"colour", D3DBLENDOP_ADD, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR, {0.5f, 0, 1, 1}, {96, 128, 255}},
  };
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device->SetRenderState(D3DRS_BLENDOP, c.op);
    device->SetRenderState(D3DRS_SRCBLEND, c.source);
    device->SetRenderState(D3DRS_DESTBLEND, c.dest);
    device->BeginScene();
    clear(D3DCOLOR_XRGB(64, 128, 192));
    drawSolid(fullScreen(), c.colour[0], c.colour[1], c.colour[2], c.colour[3]);
    device->EndScene();
    EXPECT_TRUE(near(pixel(present(), 32, 24), c.expected));
  }
  // Clear writes its colour whatever the blend state (here MIN, which would keep the darker one).
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MIN);
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 0));
  clear(D3DCOLOR_XRGB(200, 100, 50));
  device->EndScene();
  EXPECT_TRUE(near(pixel(present(), 32, 24), {200, 100, 50}));
}

// Fault caught: a matrix uploaded transposed. A D3DX translation keeps its offset in _41, _42.
TEST_F(GlDraw, RowMajorMatricesTransformAsDirect3D) {
  const float translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5f, -0.5f, 0, 1};
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 0));
  solid->use();
  solid->setUniform("matWorld", d3d9::UniformKind::Mat4, translation, 1);
  drawSolid(quad(-0.5f, -0.5f, 0.5f, 0.5f), 1, 1, 1);
  device->EndScene();
  d3d9::gl::Image image = present();
  // The quad moved right and down: it covers the lower-right quadrant only.
  EXPECT_TRUE(near(pixel(image, 48, 36), {255, 255, 255}));
  EXPECT_TRUE(near(pixel(image, 16, 12), kBlack));
  EXPECT_TRUE(near(pixel(image, 48, 12), kBlack));
}

// The same checks on a single-sample and a 4x multisampled back buffer.
class GlSamples : public GlFixture, public testing::WithParamInterface<D3DMULTISAMPLE_TYPE> {
protected:
  void SetUp() override { makeDevice(GetParam()); }
};

// Faults caught: a scaled copy that flips, mirrors or misses rows; and, multisampled, a copy not
// resolved 1:1 before it is scaled (GL refuses a scaled resolve: the target keeps its old texels and
// an error is raised, which TearDown counts).
TEST_P(GlSamples, HalfSizeStretchRectKeepsTheQuadrants) {
  auto half = renderTarget(kWidth / 2, kHeight / 2, D3DFMT_X8R8G8B8);
  ComPtr<IDirect3DSurface9> backBuffer;
  ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()), D3D_OK);
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 255));
  drawSolid(quad(-1, 0, 0, 1), 1, 0, 0);
  device->EndScene();
  ASSERT_EQ(device->StretchRect(backBuffer.get(), nullptr, levelOf(half.get()).get(), nullptr, D3DTEXF_NONE), D3D_OK);

  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 255, 0));
  drawTextured(fullScreen(), half.get(), {true, false});
  device->EndScene();
  d3d9::gl::Image image = present();
  EXPECT_TRUE(near(pixel(image, 8, 6), kRed));
  EXPECT_TRUE(near(pixel(image, 56, 6), kBlue));
  EXPECT_TRUE(near(pixel(image, 8, 42), kBlue));
  EXPECT_TRUE(near(pixel(image, 56, 42), kBlue));
  EXPECT_EQ(glDevice().invalidCalls(), 0u);
}

// Faults caught: a multisample type ignored (no antialiased edge) or a multisampled back buffer
// presented without a resolve (an error and an empty picture). A diagonal edge leaves partly
// covered pixels only when there are samples.
TEST_P(GlSamples, PresentShowsTheResolvedBackBuffer) {
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 0));
  drawSolid({Vertex{-1, 1, 0.5f, 0, 0}, Vertex{1, 1, 0.5f, 0, 0}, Vertex{-1, -1, 0.5f, 0, 0},
             Vertex{-1, -1, 0.5f, 0, 0}},
            1, 1, 1);
  device->EndScene();
  d3d9::gl::Image image = present();
  int partial = 0;
  for (unsigned y = 0; y < kHeight; ++y) {
    for (unsigned x = 0; x < kWidth; ++x) {
      int r = image.at(x, y)[0];
      partial += r > 20 && r < 235;
    }
  }
  EXPECT_TRUE(near(pixel(image, 4, 4), {255, 255, 255}));
  EXPECT_TRUE(near(pixel(image, 60, 44), kBlack));
  if (GetParam() == D3DMULTISAMPLE_NONE) {
    EXPECT_EQ(partial, 0);
  } else {
    EXPECT_GT(partial, 20);
  }
}

INSTANTIATE_TEST_SUITE_P(BackBuffers, GlSamples, testing::Values(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES));

}  // namespace
}  // namespace gltest
