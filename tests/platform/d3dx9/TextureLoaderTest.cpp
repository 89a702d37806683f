#include <stb/stb_image_write.h>

#include <gtest/gtest.h>

#include "platform/d3d9/Backend.h"
#include "platform/d3d9/trace/TraceDevice.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceDeviceHolder.h"

namespace {

using d3d9::ComPtr;

class TextureLoaderTest : public testing::Test {
protected:
  // A 4x2 RGBA image: top row red, green, blue, white; bottom row all black, half transparent.
  std::string writePng(const char* name) {
    const unsigned char rgba[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255,
                                  0,   0, 0, 128, 0, 0,   0, 128, 0, 0, 0,   128, 0,   0,   0,   128};
    std::string path = dir.file(name);
    EXPECT_NE(stbi_write_png(path.c_str(), 4, 2, 4, rgba, 16), 0);
    return path;
  }

  testsupport::TempDir dir;
  testsupport::TraceDeviceHolder holder{64, 48};
  std::shared_ptr<d3d9::trace::FailurePlan>& failures = holder.failures;
  ComPtr<IDirect3DDevice9>& device = holder.device;
};

// Texels land top row first in the device's B, G, R, A order, each level halves the one before,
// and the texture is named by the path exactly as given (backslashes kept).
TEST_F(TextureLoaderTest, DecodesTopRowFirstWithAFullMipChain) {
  writePng("sky.png");
  std::string asGiven = dir.path() + "\\sky.png";
  ComPtr<IDirect3DTexture9> texture;
  ASSERT_EQ(D3DXCreateTextureFromFileA(device.get(), asGiven.c_str(), texture.put()), D3D_OK);
  EXPECT_STREQ(texture->GetDebugName(), asGiven.c_str());
  ASSERT_EQ(texture->GetLevelCount(), 3u);
  auto& traced = dynamic_cast<d3d9::trace::TraceTexture&>(*texture);
  const auto& top = traced.levelBytes(0);
  EXPECT_EQ(std::vector<BYTE>(top.begin(), top.begin() + 8), (std::vector<BYTE>{0, 0, 255, 255, 0, 255, 0, 255}));
  EXPECT_EQ(top[16 + 3], 128);
  // Level 1 texel 0 averages red, green and two black texels: R = G = (255 + 1) / 4 rounded.
  const auto& half = traced.levelBytes(1);
  EXPECT_EQ(half[0], 0);
  EXPECT_EQ(half[1], 64);
  EXPECT_EQ(half[2], 64);
  EXPECT_EQ(half[3], 192);
}

TEST_F(TextureLoaderTest, UnreadableFilesAndDeviceFailuresAreReported) {
  ComPtr<IDirect3DTexture9> texture;
  EXPECT_EQ(D3DXCreateTextureFromFileA(device.get(), dir.file("none.png").c_str(), texture.put()),
            D3DXERR_INVALIDDATA);
  std::string garbage = dir.write("garbage.png", "\x89PNG\r\n\x1a\n this is not an image");
  EXPECT_EQ(D3DXCreateTextureFromFileA(device.get(), garbage.c_str(), texture.put()), D3DXERR_INVALIDDATA);
  std::string empty = dir.write("empty.jpg", "");
  EXPECT_EQ(D3DXCreateTextureFromFileA(device.get(), empty.c_str(), texture.put()), D3DXERR_INVALIDDATA);
  EXPECT_FALSE(texture);

  std::string good = writePng("good.png");
  failures->fail(d3d9::trace::Call::CreateTexture, E_OUTOFMEMORY);
  EXPECT_EQ(D3DXCreateTextureFromFileA(device.get(), good.c_str(), texture.put()), E_OUTOFMEMORY);
  EXPECT_FALSE(texture);
}

}  // namespace
