// The OpenGL device and adapter as the system sees them: the same trace lines and refusals as the
// trace device, references, adapter queries, and PNG output of a presented frame.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include <cstdio>
#include <filesystem>

#include "platform/d3d9/trace/TraceDevice.h"
#include "tests/platform/d3d9/BadCalls.h"
#include "tests/platform/gl/GlFixture.h"
#include "tests/support/TraceCapture.h"

namespace gltest {
namespace {

class GlDevice : public GlFixture {
protected:
  // A trace device with this device's present parameters.
  ComPtr<IDirect3DDevice9> traceTwin() {
    d3d9::trace::install();
    ComPtr<IDirect3D9> traceD3d(Direct3DCreate9(D3D_SDK_VERSION));
    D3DPRESENT_PARAMETERS pp = glDevice().presentParameters();
    ComPtr<IDirect3DDevice9> twin;
    if (traceD3d) traceD3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, twin.put());
    return twin;
  }
};

// A frame as the system draws one: named target, depth, states, a copy of the back buffer, an
// additive pass. Returns the trace lines it gave.
std::vector<std::string> scriptedFrame(IDirect3DDevice9* device, IDirect3DVertexBuffer9* vb,
                                       IDirect3DIndexBuffer9* ib, IDirect3DVertexDeclaration9* declaration) {
  ComPtr<IDirect3DSurface9> depth, backBuffer, targetSurface;
  device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
  depth->SetDebugName("halfTargetB.depth");
  ComPtr<IDirect3DTexture9> target;
  device->CreateTexture(kWidth / 2, kHeight / 2, 1, D3DUSAGE_RENDERTARGET, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                        target.put(), nullptr);
  target->SetDebugName("halfTargetB");
  target->GetSurfaceLevel(0, targetSurface.put());
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  vb->SetDebugName("fullScreenQuad");

  testsupport::TraceCapture capture;
  device->SetDepthStencilSurface(depth.get());
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(0, 1, 2, 3), 1.0f, 0);
  device->BeginScene();
  device->SetStreamSource(0, vb, 0, sizeof(Vertex));
  device->SetVertexDeclaration(declaration);
  device->SetIndices(ib);
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2);
  device->EndScene();
  device->StretchRect(backBuffer.get(), nullptr, targetSurface.get(), nullptr, D3DTEXF_NONE);
  device->SetRenderTarget(0, targetSurface.get());
  device->SetRenderTarget(0, backBuffer.get());
  device->BeginScene();
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_MIN);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCCOLOR);
  device->SetRenderState(D3DRS_DESTBLEND, static_cast<D3DBLEND>(99));
  device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 3, 1);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
  return capture.lines;
}

// Fault caught: the GL device writing a different line, or a different number of lines, than the
// trace device for the same calls (a trace run and a GL run would no longer compare).
TEST_F(GlDevice, WritesTheSameTraceLinesAsTheTraceDevice) {
  solid->use();
  const float white[4] = {1, 1, 1, 1};
  solid->setUniform("colour", d3d9::UniformKind::Vec4, white, 1);
  std::vector<std::string> glLines = scriptedFrame(device.get(), vb.get(), ib.get(), declaration.get());
  EXPECT_EQ(glDevice().invalidCalls(), 0u);

  ComPtr<IDirect3DDevice9> traceDevice = traceTwin();
  ASSERT_TRUE(traceDevice);
  ComPtr<IDirect3DVertexBuffer9> traceVb;
  ComPtr<IDirect3DIndexBuffer9> traceIb;
  ComPtr<IDirect3DVertexDeclaration9> traceDeclaration;
  traceDevice->CreateVertexBuffer(4 * sizeof(Vertex), D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT, traceVb.put(), nullptr);
  traceDevice->CreateIndexBuffer(sizeof kQuadIndices, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, traceIb.put(), nullptr);
  void* data = nullptr;
  traceIb->Lock(0, 0, &data, 0);
  std::memcpy(data, kQuadIndices, sizeof kQuadIndices);
  traceIb->Unlock();
  D3DVERTEXELEMENT9 elements[] = {{0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
  traceDevice->CreateVertexDeclaration(elements, traceDeclaration.put());
  std::vector<std::string> traceLines =
      scriptedFrame(traceDevice.get(), traceVb.get(), traceIb.get(), traceDeclaration.get());

  EXPECT_EQ(glLines.size(), 19u);
  EXPECT_EQ(glLines, traceLines);
}

// Faults caught: a call one backend refuses and the other lets through (the GL one would then
// draw from a locked buffer or copy from outside a surface), a refusal not counted, or a line one
// backend writes differently.
TEST_F(GlDevice, RefusesAndLogsBadCallsAsTheTraceDeviceDoes) {
  std::vector<std::string> glLines = badcalls::runScript(device.get());
  EXPECT_EQ(glDevice().invalidCalls(), badcalls::refusalsInScript());
  ComPtr<IDirect3DDevice9> traceDevice = traceTwin();
  ASSERT_TRUE(traceDevice);
  EXPECT_EQ(glLines, badcalls::runScript(traceDevice.get()));
}

// Faults caught: a broken pass compiled into a program (the effect would draw garbage instead of
// reporting), a failure without the compiler's or linker's text, and unknown names not ignored.
TEST_F(GlDevice, ShaderFailuresComeBackWithTheirLog) {
  std::string log;
  auto* compiler = device->GetShaderCompiler();
  EXPECT_FALSE(compiler->compile(kSolidVertex, "#version 330 core\nvoid main() { undefinedCall(); }\n", log));
  EXPECT_NE(log.find("fragment shader"), std::string::npos) << log;
  EXPECT_GT(log.size(), std::string("fragment shader:\n").size());
  log.clear();
  // Each stage compiles, but the vertex stage has no main: only the linker finds that.
  EXPECT_FALSE(compiler->compile("#version 330 core\nvoid helper() {}\n", kSolidFragment, log));
  EXPECT_NE(log.find("link"), std::string::npos) << log;

  const float value[4] = {1, 2, 3, 4};
  solid->setUniform("noSuchUniform", d3d9::UniformKind::Vec4, value, 1);
  solid->setSampler("noSuchSampler", nullptr, {});
  EXPECT_EQ(glDevice().takeGlErrors(), 0u);
}

// Faults caught: the device keeping an extra reference when targets are switched (a leak at exit)
// or dropping one (a surface freed while bound); a target switch that keeps the old viewport.
TEST_F(GlDevice, TargetSwitchHoldsNoExtraReferencesAndSetsTheViewport) {
  auto count = [](IUnknown* object) {
    object->AddRef();
    return object->Release();
  };
  auto target = renderTarget(32, 16, D3DFMT_X8R8G8B8);
  auto level = levelOf(target.get());
  ComPtr<IDirect3DSurface9> depth, screenDepth, backBuffer;
  device->CreateDepthStencilSurface(32, 16, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, depth.put(), nullptr);
  device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D24X8, D3DMULTISAMPLE_NONE, 0, TRUE, screenDepth.put(),
                                    nullptr);
  device->SetDepthStencilSurface(screenDepth.get());
  device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.put());
  ULONG backBefore = count(backBuffer.get()), depthBefore = count(screenDepth.get()), levelBefore = count(level.get());
  {
    ComPtr<IDirect3DSurface9> savedColour, savedDepth;
    ASSERT_EQ(device->GetRenderTarget(0, savedColour.put()), D3D_OK);
    ASSERT_EQ(device->GetDepthStencilSurface(savedDepth.put()), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(0, level.get()), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(depth.get()), D3D_OK);
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 32u);
    EXPECT_EQ(viewport.Height, 16u);
    ASSERT_EQ(device->SetRenderTarget(0, savedColour.get()), D3D_OK);
    ASSERT_EQ(device->SetDepthStencilSurface(savedDepth.get()), D3D_OK);
  }
  EXPECT_EQ(count(backBuffer.get()), backBefore);
  EXPECT_EQ(count(screenDepth.get()), depthBefore);
  EXPECT_EQ(count(level.get()), levelBefore);
  EXPECT_EQ(count(target.get()), count(level.get()));  // a level shares its texture's count
}

// Faults caught: a PNG written upside down, with channels swapped or truncated, and a write that
// claims success for an empty image or a path it cannot create.
TEST_F(GlDevice, PresentedFrameWritesAsPng) {
  device->BeginScene();
  clear(D3DCOLOR_XRGB(0, 0, 255));
  drawSolid(quad(-1, 0, 1, 1), 1, 0.5f, 0);
  device->EndScene();
  d3d9::gl::Image image = present();
  std::string path = (std::filesystem::temp_directory_path() / "redkite_gl_frame.png").string();
  std::string error;
  ASSERT_TRUE(d3d9::gl::writePng(path, image, error)) << error;
  int width = 0, height = 0, channels = 0;
  stbi_uc* decoded = stbi_load(path.c_str(), &width, &height, &channels, 4);
  ASSERT_NE(decoded, nullptr);
  EXPECT_EQ(width, int(kWidth));
  EXPECT_EQ(height, int(kHeight));
  EXPECT_EQ(std::memcmp(decoded, image.rgba.data(), image.rgba.size()), 0);
  EXPECT_TRUE(near({decoded[0], decoded[1], decoded[2]}, {255, 128, 0}));
  stbi_image_free(decoded);
  std::remove(path.c_str());

  EXPECT_FALSE(d3d9::gl::writePng(path, d3d9::gl::Image{}, error));
  EXPECT_FALSE(d3d9::gl::writePng("/nonexistent-dir/frame.png", image, error));
  EXPECT_EQ(error, "/nonexistent-dir/frame.png: No such file or directory");
}

// Faults caught: the adapter offering multisample types it cannot create (the dialog would offer
// them and CreateDevice would fail), or accepting a refused type at device creation.
TEST_F(GlDevice, AdapterOffersOnlyWhatItCreates) {
  EXPECT_GT(d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 0u);
  EXPECT_EQ(d3d->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
  D3DDISPLAYMODE mode{};
  EXPECT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, d3d->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), &mode),
            D3DERR_INVALIDCALL);
  D3DCAPS9 caps{};
  ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
  EXPECT_NE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);

  auto check = [&](DWORD type) {
    return d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, FALSE,
                                           static_cast<D3DMULTISAMPLE_TYPE>(type), nullptr);
  };
  EXPECT_EQ(check(D3DMULTISAMPLE_NONE), D3D_OK);
  EXPECT_EQ(check(D3DMULTISAMPLE_NONMASKABLE), D3DERR_NOTAVAILABLE);
  EXPECT_EQ(check(17), D3DERR_NOTAVAILABLE);
  // Supported types form one run from 2 up: once one is refused, every larger one is too, and
  // CreateDevice refuses it as well.
  DWORD firstRefused = 2;
  while (firstRefused <= 16 && check(firstRefused) == D3D_OK) ++firstRefused;
  for (DWORD type = firstRefused; type <= 16; ++type) EXPECT_EQ(check(type), D3DERR_NOTAVAILABLE) << type;
  // Every offered type makes a device whose buffers GL accepts (a count past GL_MAX_SAMPLES would
  // raise an error), and the first refused one makes none.
  D3DPRESENT_PARAMETERS pp = glDevice().presentParameters();
  for (DWORD type = 2; type <= firstRefused && type <= 16; ++type) {
    pp.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(type);
    ComPtr<IDirect3DDevice9> other;
    HRESULT hr = d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, other.put());
    EXPECT_EQ(hr, type < firstRefused ? D3D_OK : D3DERR_INVALIDCALL) << type;
    EXPECT_EQ(bool(other), type < firstRefused) << type;
  }
  EXPECT_EQ(glDevice().takeGlErrors(), 0u);
}

}  // namespace
}  // namespace gltest
