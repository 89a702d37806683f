#include "platform/d3d9/trace/TraceDevice.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/PresentParameters.h"
#include "tests/platform/d3d9/BadCalls.h"
#include "tests/support/TraceCapture.h"

namespace {

using d3d9::ComPtr;
using d3d9::trace::Call;
using d3d9::trace::FailurePlan;

class TraceDeviceTest : public testing::Test {
protected:
  void SetUp() override {
    d3d9::trace::install({}, failures);
    d3d.reset();
    *d3d.put() = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_TRUE(d3d);
    D3DPRESENT_PARAMETERS pp = d3d9::windowedParameters(640, 480, 3);
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, device.put()),
              D3D_OK);
  }
  void TearDown() override { d3d9::useBackend({}); }

  d3d9::trace::TraceDevice& traceDevice() { return *dynamic_cast<d3d9::trace::TraceDevice*>(device.get()); }

  // A 2x2 grid: 4 vertices of POSITION, 2 triangles.
  void makeQuad(const char* name) {
    ASSERT_EQ(device->CreateVertexBuffer(4 * 12, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT,
                                         vb.put(), nullptr),
              D3D_OK);
    vb->SetDebugName(name);
    ASSERT_EQ(device->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, ib.put(), nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    const WORD indices[] = {0, 1, 2, 2, 1, 3};
    std::memcpy(data, indices, sizeof indices);
    ASSERT_EQ(ib->Unlock(), D3D_OK);
    D3DVERTEXELEMENT9 decl[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
    ASSERT_EQ(device->CreateVertexDeclaration(decl, declaration.put()), D3D_OK);
  }

  void bindQuad() {
    device->SetStreamSource(0, vb.get(), 0, 12);
    device->SetVertexDeclaration(declaration.get());
    device->SetIndices(ib.get());
  }

  std::shared_ptr<FailurePlan> failures = std::make_shared<FailurePlan>();
  ComPtr<IDirect3D9> d3d;
  ComPtr<IDirect3DDevice9> device;
  ComPtr<IDirect3DVertexBuffer9> vb;
  ComPtr<IDirect3DIndexBuffer9> ib;
  ComPtr<IDirect3DVertexDeclaration9> declaration;
};

// A small frame: off-screen pass into a named target, copy of the back buffer, additive draw,
// present. The trace holds exactly these events, in order, with names and values as given.
TEST_F(TraceDeviceTest, ScriptedFrameGivesExactlyItsEvents) {
  makeQuad("fullScreenQuad");
  ComPtr<IDirect3DSurface9> depth;
  ASSERT_EQ(device->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(),
                                              nullptr),
            D3D_OK);
  ComPtr<IDirect3DTexture9> target;
  ASSERT_EQ(device->CreateTexture(320, 240, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                  target.put(), nullptr),
            D3D_OK);
  target->SetDebugName("halfTargetB");
  ComPtr<IDirect3DSurface9> targetSurface, backBuffer;
  ASSERT_EQ(target->GetSurfaceLevel(0, targetSurface.put()), D3D_OK);
  ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put()), D3D_OK);

  testsupport::TraceCapture capture;
  device->SetDepthStencilSurface(depth.get());
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(0, 0, 0, 0), 1.0f, 0);
  device->BeginScene();
  bindQuad();
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
  device->EndScene();
  device->StretchRect(backBuffer.get(), nullptr, targetSurface.get(), nullptr, D3DTEXF_NONE);
  device->BeginScene();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MIN);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCCOLOR);
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 1);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);

  std::vector<std::string> expected = {
      R"({"ev":"setDepthStencil","surface":null})",
      R"({"ev":"state","name":"CULLMODE","value":"CCW"})",
      R"({"ev":"state","name":"ZENABLE","value":true})",
      R"({"ev":"clear","flags":["TARGET","ZBUFFER"],"color":"0x00000000","z":1.0,"stencil":0})",
      R"({"ev":"beginScene"})",
      R"({"ev":"draw","vb":"fullScreenQuad","base":0,"vertices":4,"start":0,"primitives":2})",
      R"({"ev":"endScene"})",
      R"({"ev":"stretchRect","from":"backbuffer","to":"halfTargetB","filter":"NONE"})",
      R"({"ev":"beginScene"})",
      R"({"ev":"state","name":"ALPHABLENDENABLE","value":true})",
      R"({"ev":"state","name":"BLENDOP","value":"MIN"})",
      R"({"ev":"state","name":"SRCBLEND","value":"SRCALPHA"})",
      R"({"ev":"state","name":"DESTBLEND","value":"INVSRCCOLOR"})",
      R"({"ev":"draw","vb":"fullScreenQuad","base":0,"vertices":4,"start":3,"primitives":1})",
      R"({"ev":"endScene"})",
      R"({"ev":"present"})",
  };
  EXPECT_EQ(capture.lines, expected);
  EXPECT_EQ(traceDevice().invalidCalls(), 0u);
}

TEST_F(TraceDeviceTest, NamedSurfacesAppearInTargetEvents) {
  ComPtr<IDirect3DTexture9> target;
  ASSERT_EQ(device->CreateTexture(512, 512, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                  target.put(), nullptr),
            D3D_OK);
  target->SetDebugName("shadowTarget");
  ComPtr<IDirect3DSurface9> surface, depth;
  target->GetSurfaceLevel(0, surface.put());
  device->CreateDepthStencilSurface(512, 512, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
  depth->SetDebugName("shadowTarget.depth");

  testsupport::TraceCapture capture;
  device->SetRenderTarget(0, surface.get());
  device->SetDepthStencilSurface(depth.get());
  ASSERT_EQ(capture.lines.size(), 2u);
  EXPECT_EQ(capture.lines[0], R"({"ev":"setRenderTarget","surface":"shadowTarget"})");
  EXPECT_EQ(capture.lines[1], R"({"ev":"setDepthStencil","surface":"shadowTarget.depth"})");
  D3DVIEWPORT9 viewport{};
  device->GetViewport(&viewport);
  EXPECT_EQ(viewport.Width, 512u);
  EXPECT_EQ(viewport.Height, 512u);
}

// Switching into a target and back, as a render-target bracket does, leaves every surface with the
// reference count it had: the device holds one reference to what is bound, callers their own.
TEST_F(TraceDeviceTest, TargetSwitchHoldsNoExtraReferences) {
  ComPtr<IDirect3DTexture9> target;
  device->CreateTexture(64, 64, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, target.put(), nullptr);
  ComPtr<IDirect3DSurface9> level, depth;
  target->GetSurfaceLevel(0, level.put());
  device->CreateDepthStencilSurface(64, 64, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
  ComPtr<IDirect3DSurface9> screenDepth;
  device->CreateDepthStencilSurface(640, 480, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, screenDepth.put(), nullptr);
  device->SetDepthStencilSurface(screenDepth.get());

  auto count = [](IUnknown* object) {
    object->AddRef();
    return object->Release();
  };
  ComPtr<IDirect3DSurface9> backBuffer;
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  ULONG backBefore = count(backBuffer.get()), depthBefore = count(screenDepth.get()), levelBefore = count(level.get());

  {
    ComPtr<IDirect3DSurface9> savedColour, savedDepth;
    ASSERT_EQ(device->GetRenderTarget(0, savedColour.put()), D3D_OK);
    ASSERT_EQ(device->GetDepthStencilSurface(savedDepth.put()), D3D_OK);
    EXPECT_EQ(savedColour.get(), backBuffer.get());
    EXPECT_EQ(savedDepth.get(), screenDepth.get());
    ASSERT_EQ(device->SetRenderTarget(0, level.get()), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(depth.get()), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(0, savedColour.get()), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(savedDepth.get()), D3D_OK);
  }
  EXPECT_EQ(count(backBuffer.get()), backBefore);
  EXPECT_EQ(count(screenDepth.get()), depthBefore);
  EXPECT_EQ(count(level.get()), levelBefore);
  // A texture level shares the texture's count.
  EXPECT_EQ(count(target.get()), count(level.get()));
}

TEST_F(TraceDeviceTest, LocksReadBackWhatWasWritten) {
  ComPtr<IDirect3DVertexBuffer9> buffer;
  ASSERT_EQ(device->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, buffer.put(),
                                       nullptr),
            D3D_OK);
  void* data = nullptr;
  ASSERT_EQ(buffer->Lock(16, 8, &data, 0), D3D_OK);
  const float written[] = {1.5f, -2.25f};
  std::memcpy(data, written, sizeof written);
  // A second lock while locked and an unlock of an unlocked buffer are refused.
  void* again = nullptr;
  EXPECT_EQ(buffer->Lock(0, 0, &again, 0), D3DERR_INVALIDCALL);
  ASSERT_EQ(buffer->Unlock(), D3D_OK);
  EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);

  ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
  float readBack[2];
  std::memcpy(readBack, static_cast<BYTE*>(data) + 16, sizeof readBack);
  EXPECT_EQ(readBack[0], 1.5f);
  EXPECT_EQ(readBack[1], -2.25f);
  buffer->Unlock();

  // Ranges past the end are refused whatever the offset.
  EXPECT_EQ(buffer->Lock(60, 8, &data, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(buffer->Lock(65, 0, &data, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(buffer->Lock(0xFFFFFFF0u, 0x20, &data, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(buffer->Lock(64, 0, &data, 0), D3D_OK);
  buffer->Unlock();
}

TEST_F(TraceDeviceTest, TextureLevelsLockWithTheirPitchAndTargetsDoNot) {
  ComPtr<IDirect3DTexture9> texture;
  ASSERT_EQ(device->CreateTexture(8, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put(), nullptr), D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 4u);  // 8x4, 4x2, 2x1, 1x1
  D3DSURFACE_DESC desc{};
  texture->GetLevelDesc(2, &desc);
  EXPECT_EQ(desc.Width, 2u);
  EXPECT_EQ(desc.Height, 1u);

  D3DLOCKED_RECT rect{};
  ASSERT_EQ(texture->LockRect(1, &rect, nullptr, 0), D3D_OK);
  EXPECT_EQ(rect.Pitch, 16);
  static_cast<BYTE*>(rect.pBits)[rect.Pitch + 3] = 0xAB;
  texture->UnlockRect(1);
  auto& traceTexture = dynamic_cast<d3d9::trace::TraceTexture&>(*texture.get());
  EXPECT_EQ(traceTexture.levelBytes(1)[19], 0xAB);

  ComPtr<IDirect3DTexture9> target;
  device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_R32F, D3DPOOL_DEFAULT, target.put(), nullptr);
  EXPECT_EQ(target->LockRect(0, &rect, nullptr, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(texture->LockRect(9, &rect, nullptr, 0), D3DERR_INVALIDCALL);
}

TEST_F(TraceDeviceTest, InjectedFailuresReturnTheChosenCode) {
  failures->fail(Call::CreateTexture, E_OUTOFMEMORY, 2);
  failures->fail(Call::CreateVertexDeclaration, D3DERR_INVALIDCALL);
  ComPtr<IDirect3DTexture9> first, second, third;
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, first.put(), nullptr), D3D_OK);
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, second.put(), nullptr),
            E_OUTOFMEMORY);
  EXPECT_FALSE(second);
  EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, third.put(), nullptr), D3D_OK);

  D3DVERTEXELEMENT9 decl[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
  ComPtr<IDirect3DVertexDeclaration9> declaration;
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(device->CreateVertexDeclaration(decl, declaration.put()), D3DERR_INVALIDCALL);

  failures->fail(Call::SetRenderTarget, D3DERR_OUTOFVIDEOMEMORY);
  ComPtr<IDirect3DSurface9> backBuffer;
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  EXPECT_EQ(device->SetRenderTarget(0, backBuffer.get()), D3DERR_OUTOFVIDEOMEMORY);

  failures->clear();
  failures->fail(Call::CreateDevice, D3DERR_NOTAVAILABLE);
  D3DPRESENT_PARAMETERS pp{};
  pp.BackBufferWidth = 32;
  pp.BackBufferHeight = 32;
  ComPtr<IDirect3DDevice9> other;
  EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, other.put()),
            D3DERR_NOTAVAILABLE);
  EXPECT_FALSE(other);
}

// Faults caught: a call the debug runtime refuses let through, or a refusal not counted (frame
// tests assert that a scene made no invalid call).
TEST_F(TraceDeviceTest, RefusesAndCountsTheBadCallsOfTheScript) {
  badcalls::runScript(device.get());
  EXPECT_EQ(traceDevice().invalidCalls(), badcalls::refusalsInScript());
}

// Every index the draw reads is checked, in 16- and 32-bit buffers alike: one index past the vertex
// buffer in the middle of the range refuses the draw, the same index outside the range does not.
TEST_F(TraceDeviceTest, EveryIndexReadIsCheckedAtBothWidths) {
  makeQuad("quad");
  bindQuad();
  // Triangles (0 1 2) (2 1 9) (1 2 3): only the middle one names a vertex the 4-vertex buffer lacks.
  const std::uint32_t indices[] = {0, 1, 2, 2, 1, 9, 1, 2, 3};
  for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
    SCOPED_TRACE(format == D3DFMT_INDEX16 ? "16-bit" : "32-bit");
    const UINT size = format == D3DFMT_INDEX16 ? 2 : 4;
    ComPtr<IDirect3DIndexBuffer9> wide;
    ASSERT_EQ(device->CreateIndexBuffer(9 * size, D3DUSAGE_WRITEONLY, format, D3DPOOL_MANAGED, wide.put(), nullptr),
              D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(wide->Lock(0, 0, &data, 0), D3D_OK);
    for (int i = 0; i < 9; ++i) std::memcpy(static_cast<char*>(data) + i * size, &indices[i], size);
    ASSERT_EQ(wide->Unlock(), D3D_OK);
    device->SetIndices(wide.get());
    device->BeginScene();
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 3), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 6, 1), D3D_OK);
    // Base 1 moves the largest index of (1 2 3) past the buffer.
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 0, 4, 6, 1), D3DERR_INVALIDCALL);
    device->EndScene();
  }
}

TEST_F(TraceDeviceTest, DrawWithoutBuffersIsRecordedWithNoName) {
  testsupport::TraceCapture capture;
  device->BeginScene();
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3DERR_INVALIDCALL);
  device->EndScene();
  ASSERT_EQ(capture.lines.size(), 3u);
  EXPECT_EQ(capture.lines[1], R"({"ev":"draw","vb":null,"base":0,"vertices":4,"start":0,"primitives":2})");
}

TEST(TraceAdapter, ModesCapsAndMultisampleFollowTheConfiguration) {
  d3d9::trace::AdapterConfig config;
  config.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 75, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_R5G6B5}};
  config.hardwareTransform = false;
  config.multisample = {D3DMULTISAMPLE_4_SAMPLES};
  d3d9::trace::install(config);
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  ASSERT_TRUE(d3d);
  EXPECT_EQ(d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 2u);
  D3DDISPLAYMODE mode{};
  EXPECT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
  EXPECT_EQ(mode.RefreshRate, 75u);
  EXPECT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 2, &mode), D3DERR_INVALIDCALL);
  D3DCAPS9 caps{};
  d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps);
  EXPECT_EQ(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
  DWORD quality = 0;
  EXPECT_EQ(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE, D3DMULTISAMPLE_4_SAMPLES, &quality),
            D3D_OK);
  EXPECT_EQ(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE, D3DMULTISAMPLE_8_SAMPLES, &quality),
            D3DERR_NOTAVAILABLE);
  EXPECT_EQ(quality, 0u);
  d3d9::useBackend({});
}

TEST(TraceAdapter, Direct3DCreate9NeedsTheSdkVersionAndABackend) {
  d3d9::useBackend({});
  EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
  d3d9::trace::install();
  EXPECT_EQ(Direct3DCreate9(31), nullptr);
  ComPtr<IDirect3D9> d3d(Direct3DCreate9(D3D_SDK_VERSION));
  EXPECT_TRUE(d3d);
  d3d9::useBackend({});
}

}  // namespace
