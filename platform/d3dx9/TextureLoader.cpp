// D3DXCreateTextureFromFileA: decodes PNG or JPEG with stb_image into a managed A8R8G8B8 texture
// whose levels are box-filtered halvings of the image, top row first.
#include <stb/stb_image.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3dx9/d3dx9.h"
#include "platform/win32/FilePath.h"

namespace d3dx9 {
namespace {

constexpr std::size_t kMaxImageFileBytes = 64u << 20;
constexpr int kMaxImageSide = 8192;

// Texels as the device stores A8R8G8B8: bytes B, G, R, A.
struct Image {
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgra;
};

// stb_image as Debian 12 packages it writes past its Huffman tables when a JPEG's DHT segment
// declares more than 256 codes. Every FF C4 in a JPEG (to the decoder, any file that starts with
// FF bytes and then D8) is read here as the decoder would read a DHT segment there, bytes past the
// end as 0, and a file with such a table is refused before decoding.
bool jpegHuffmanTablesFit(const std::string& bytes) {
  auto at = [&](std::size_t i) -> unsigned { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
  std::size_t soi = 0;
  while (at(soi) == 0xFF) ++soi;
  if (soi == 0 || at(soi) != 0xD8) return true;
  for (std::size_t i = soi + 1; i + 1 < bytes.size(); ++i) {
    if (at(i) != 0xFF || at(i + 1) != 0xC4) continue;
    std::size_t p = i + 2;
    long length = long(at(p) << 8 | at(p + 1)) - 2;
    for (p += 2; length > 0;) {
      unsigned table = at(p++);
      if ((table >> 4) > 1 || (table & 15) > 3) break;  // the decoder refuses it
      unsigned codes = 0;
      for (int k = 0; k < 16; ++k) codes += at(p++);
      if (codes > 256) return false;
      p += codes;
      length -= 17 + long(codes);
    }
  }
  return true;
}

bool decode(const std::string& bytes, Image& image) {
  if (!jpegHuffmanTablesFit(bytes)) return false;
  int width = 0, height = 0, channels = 0;
  auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  int size = static_cast<int>(bytes.size());
  if (!stbi_info_from_memory(data, size, &width, &height, &channels)) return false;
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
  stbi_uc* rgba = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
  if (!rgba) return false;
  image.width = static_cast<UINT>(width);
  image.height = static_cast<UINT>(height);
  image.bgra.resize(std::size_t(width) * height * 4);
  for (std::size_t i = 0; i < image.bgra.size(); i += 4) {
    image.bgra[i + 0] = rgba[i + 2];
    image.bgra[i + 1] = rgba[i + 1];
    image.bgra[i + 2] = rgba[i + 0];
    image.bgra[i + 3] = rgba[i + 3];
  }
  stbi_image_free(rgba);
  return true;
}

// The next level: each texel the mean of the (up to) 2x2 texels it covers.
Image halve(const Image& src) {
  Image dst;
  dst.width = std::max(1u, src.width / 2);
  dst.height = std::max(1u, src.height / 2);
  dst.bgra.resize(std::size_t(dst.width) * dst.height * 4);
  for (UINT y = 0; y < dst.height; ++y) {
    for (UINT x = 0; x < dst.width; ++x) {
      UINT x0 = std::min(2 * x, src.width - 1), x1 = std::min(2 * x + 1, src.width - 1);
      UINT y0 = std::min(2 * y, src.height - 1), y1 = std::min(2 * y + 1, src.height - 1);
      for (UINT c = 0; c < 4; ++c) {
        auto at = [&](UINT sx, UINT sy) { return unsigned(src.bgra[(std::size_t(sy) * src.width + sx) * 4 + c]); };
        unsigned sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
        dst.bgra[(std::size_t(y) * dst.width + x) * 4 + c] = static_cast<BYTE>((sum + 2) / 4);
      }
    }
  }
  return dst;
}

HRESULT fillLevel(IDirect3DTexture9* texture, UINT level, const Image& image) {
  D3DLOCKED_RECT rect{};
  HRESULT hr = texture->LockRect(level, &rect, nullptr, 0);
  if (FAILED(hr)) return hr;
  for (UINT row = 0; row < image.height; ++row) {
    std::memcpy(static_cast<BYTE*>(rect.pBits) + std::size_t(row) * rect.Pitch,
                image.bgra.data() + std::size_t(row) * image.width * 4, std::size_t(image.width) * 4);
  }
  return texture->UnlockRect(level);
}

}  // namespace
}  // namespace d3dx9

HRESULT D3DXCreateTextureFromFileA(IDirect3DDevice9* pDevice, LPCSTR pSrcFile, IDirect3DTexture9** ppTexture) {
  if (!ppTexture || !pDevice || !pSrcFile) return D3DERR_INVALIDCALL;
  *ppTexture = nullptr;
  std::string bytes;
  d3dx9::Image image;
  if (!win32::readWholeFile(pSrcFile, bytes, d3dx9::kMaxImageFileBytes) || !d3dx9::decode(bytes, image))
    return D3DXERR_INVALIDDATA;

  d3d9::ComPtr<IDirect3DTexture9> texture;
  HRESULT hr = pDevice->CreateTexture(image.width, image.height, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                      texture.put(), nullptr);
  if (FAILED(hr)) return hr;
  texture->SetDebugName(pSrcFile);
  UINT levels = texture->GetLevelCount();
  for (UINT level = 0; level < levels; ++level) {
    if (level > 0) image = d3dx9::halve(image);
    hr = d3dx9::fillLevel(texture.get(), level, image);
    if (FAILED(hr)) return hr;
  }
  *ppTexture = texture.detach();
  return D3D_OK;
}
