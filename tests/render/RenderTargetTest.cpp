// Render targets on the trace device: creation and names, the begin/end bracket and what it leaves
// behind, the back-buffer copy, every failure message, and the half-size screen-pass numbers.
#include "render/RenderTarget.h"

#include <gtest/gtest.h>

#include "render/Device.h"
#include "render/ScreenPass.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

using d3d9::trace::Call;
using testsupport::messageBoxLine;
using testsupport::referenceCount;
using Lines = std::vector<std::string>;

class RenderTargetTest : public testing::Test {
protected:
  RenderTargetTest() : holder(1024, 768) {
    render::setDevice(holder.device.get());
    // The screen's own depth surface, as the app's device has one.
    holder.device->CreateDepthStencilSurface(1024, 768, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                             screenDepth.put(), nullptr);
    screenDepth->SetDebugName("screenDepth");
    holder.device->SetDepthStencilSurface(screenDepth.get());
  }
  ~RenderTargetTest() override { render::setDevice(nullptr); }

  testsupport::TraceDeviceHolder holder;
  d3d9::ComPtr<IDirect3DSurface9> screenDepth;
};

TEST_F(RenderTargetTest, CreateMakesANamedTextureAndDepthSurfaceOfTheSize) {
  render::RenderTarget target;
  target.create(512, 384, D3DFMT_R32F, "depthTarget");
  ASSERT_TRUE(target.texture && target.surface && target.depth);
  EXPECT_EQ(target.width, 512u);
  EXPECT_EQ(target.height, 384u);
  EXPECT_EQ(target.texture->GetLevelCount(), 1u);
  D3DSURFACE_DESC colour{}, depth{};
  target.surface->GetDesc(&colour);
  target.depth->GetDesc(&depth);
  EXPECT_EQ(colour.Format, D3DFMT_R32F);
  EXPECT_EQ(colour.Usage, D3DUSAGE_RENDERTARGET);
  EXPECT_EQ(colour.Pool, D3DPOOL_DEFAULT);
  EXPECT_EQ(colour.Width, 512u);
  EXPECT_EQ(depth.Format, D3DFMT_D24X8);
  EXPECT_EQ(depth.MultiSampleType, D3DMULTISAMPLE_NONE);
  EXPECT_EQ(depth.Width, 512u);
  EXPECT_EQ(depth.Height, 384u);
  EXPECT_STREQ(target.surface->GetDebugName(), "depthTarget");
  EXPECT_STREQ(target.depth->GetDebugName(), "depthTarget.depth");
  EXPECT_FALSE(target.savedColour || target.savedDepth);
}

TEST_F(RenderTargetTest, CreationFailuresAreReportedAndTheTargetStaysWithoutThem) {
  holder.failures->fail(Call::CreateTexture, E_OUTOFMEMORY);
  holder.failures->fail(Call::CreateDepthStencilSurface, D3DERR_OUTOFVIDEOMEMORY);
  testsupport::TraceCapture capture;
  render::RenderTarget target;
  target.create(64, 64, D3DFMT_X8R8G8B8, "shadowTarget");
  EXPECT_FALSE(target.texture || target.surface || target.depth);
  EXPECT_EQ(testsupport::messageBoxes(capture), (Lines{messageBoxLine("boya", "ME"), messageBoxLine("depth", "rt")}));
}

// begin then end: the device's colour and depth surfaces are bound again, and every surface has
// the reference count it had before, so nothing is held between frames.
TEST_F(RenderTargetTest, BeginAndEndRestoreTheSurfacesAndHoldNoReference) {
  render::RenderTarget target;
  target.create(512, 512, D3DFMT_X8R8G8B8, "shadowTarget");
  d3d9::ComPtr<IDirect3DSurface9> backBuffer;
  holder.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  ULONG backBefore = referenceCount(backBuffer.get()), depthBefore = referenceCount(screenDepth.get());
  ULONG targetBefore = referenceCount(target.surface.get()), targetDepthBefore = referenceCount(target.depth.get());

  testsupport::TraceCapture capture;
  target.begin();
  EXPECT_TRUE(holder.trace().inScene());
  D3DVIEWPORT9 viewport{};
  holder.device->GetViewport(&viewport);
  EXPECT_EQ(viewport.Width, 512u);
  target.end();

  EXPECT_EQ(capture.lines, (Lines{
                               R"({"ev":"setRenderTarget","surface":"shadowTarget"})",
                               R"({"ev":"setDepthStencil","surface":"shadowTarget.depth"})",
                               R"({"ev":"beginScene"})",
                               R"({"ev":"endScene"})",
                               R"({"ev":"setRenderTarget","surface":"backbuffer"})",
                               R"({"ev":"setDepthStencil","surface":"screenDepth"})",
                           }));
  d3d9::ComPtr<IDirect3DSurface9> colourNow, depthNow;
  holder.device->GetRenderTarget(0, colourNow.put());
  holder.device->GetDepthStencilSurface(depthNow.put());
  EXPECT_EQ(colourNow.get(), backBuffer.get());
  EXPECT_EQ(depthNow.get(), screenDepth.get());
  colourNow.reset();
  depthNow.reset();
  EXPECT_EQ(referenceCount(backBuffer.get()), backBefore);
  EXPECT_EQ(referenceCount(screenDepth.get()), depthBefore);
  EXPECT_EQ(referenceCount(target.surface.get()), targetBefore);
  EXPECT_EQ(referenceCount(target.depth.get()), targetDepthBefore);
  EXPECT_FALSE(target.savedColour || target.savedDepth);
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

TEST_F(RenderTargetTest, GrabCopiesTheBackBufferUnfilteredAndKeepsNoReference) {
  render::RenderTarget target;
  target.create(512, 384, D3DFMT_X8R8G8B8, "halfTargetB");
  d3d9::ComPtr<IDirect3DSurface9> backBuffer;
  holder.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  ULONG before = referenceCount(backBuffer.get());
  testsupport::TraceCapture capture;
  target.grabBackBuffer();
  EXPECT_EQ(capture.lines, Lines{R"({"ev":"stretchRect","from":"backbuffer","to":"halfTargetB","filter":"NONE"})"});
  EXPECT_EQ(referenceCount(backBuffer.get()), before);
  EXPECT_EQ(holder.invalidCalls(), 0u);
}

TEST_F(RenderTargetTest, EachFailingCallOfTheBracketIsReportedAndTheSequenceGoesOn) {
  render::RenderTarget target;
  target.create(64, 64, D3DFMT_X8R8G8B8, "t");
  holder.failures->fail(Call::GetRenderTarget, E_FAIL, 1);
  holder.failures->fail(Call::GetDepthStencilSurface, E_FAIL, 1);
  holder.failures->fail(Call::SetRenderTarget, E_FAIL, 1);
  holder.failures->fail(Call::SetDepthStencilSurface, E_FAIL, 1);
  testsupport::TraceCapture beginCapture;
  target.begin();
  EXPECT_EQ(testsupport::messageBoxes(beginCapture),
            (Lines{messageBoxLine("g rt", "render"), messageBoxLine("g ds", "render"), messageBoxLine("s rt", "render"),
                   messageBoxLine("s ds", "render")}));
  EXPECT_TRUE(holder.trace().inScene());
  target.end();

  holder.failures->clear();
  target.begin();
  holder.failures->fail(Call::SetRenderTarget, E_FAIL, 1);
  holder.failures->fail(Call::SetDepthStencilSurface, E_FAIL, 1);
  testsupport::TraceCapture endCapture;
  target.end();
  EXPECT_EQ(testsupport::messageBoxes(endCapture),
            (Lines{messageBoxLine("e s rt", "render"), messageBoxLine("e s ds", "render")}));
  EXPECT_FALSE(holder.trace().inScene());
  EXPECT_FALSE(target.savedColour || target.savedDepth);
}

// A half-size target of a 1024 × 768 screen is 512 × 384 and its "ps" is (1/512, 1/384); an odd
// width halves down.
TEST_F(RenderTargetTest, HalfSizeTargetAndItsTexelSize) {
  render::RenderTarget half;
  half.create(render::halfSize(1024), render::halfSize(768), D3DFMT_X8R8G8B8, "halfTargetA");
  EXPECT_EQ(half.width, 512u);
  EXPECT_EQ(half.height, 384u);
  std::array<float, 2> ps = render::texelSize(half);
  EXPECT_EQ(ps[0], 1.0f / 512);
  EXPECT_EQ(ps[1], 1.0f / 384);
  EXPECT_EQ(render::halfSize(1365), 682u);
  EXPECT_EQ(render::halfSize(1), 0u);
}

TEST_F(RenderTargetTest, ScreenProjectionCoversTheVirtualScreen) {
  // The screen projection covers the whole virtual screen whatever the target's pixel size.
  D3DXMATRIX projection = render::screenProjection();
  D3DXVECTOR3 corner(-320, -240, 1), clip;
  D3DXVec3TransformCoord(&clip, &corner, &projection);
  EXPECT_FLOAT_EQ(clip.x, -1.0f);
  EXPECT_FLOAT_EQ(clip.y, -1.0f);
}

}  // namespace
