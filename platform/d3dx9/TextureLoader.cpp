// D3DXCreateTextureFromFileA: decodes PNG (stb_image) or JPEG (libjpeg-turbo), nothing else, into a
// managed A8R8G8B8 texture whose levels are box-filtered halvings of the image, top row first.
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3d9/ComPtr.h"
#include "platform/d3dx9/TextureLoader.h"
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

bool isPng(std::string_view bytes) {
  constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
  return bytes.starts_with(kPngSignature);
}

bool isJpeg(std::string_view bytes) {
  constexpr std::string_view kJpegStart("\xff\xd8", 2);
  return bytes.starts_with(kJpegStart);
}

bool decodePng(const std::string& bytes, Image& image) {
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

// libjpeg reports errors through a callback that must not return: it jumps back to decodeJpeg,
// across libjpeg's own C frames only. Warnings (corrupt or missing data) count as errors, so a
// damaged file is refused rather than shown half grey.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf failed;
};

[[noreturn]] void jpegFail(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1); }

void jpegMessage(j_common_ptr info, int level) {
  if (level < 0) jpegFail(info);
}

void jpegNoOutput(j_common_ptr) {}

// Decodes straight into B, G, R, A rows, top first. `image` is only written through its reference,
// so its state is defined after a jump back here.
bool decodeJpeg(const std::string& bytes, Image& image) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = jpegFail;
  errors.manager.emit_message = jpegMessage;
  errors.manager.output_message = jpegNoOutput;
  if (setjmp(errors.failed)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (info.image_width == 0 || info.image_height == 0 || info.image_width > unsigned(kMaxImageSide) ||
      info.image_height > unsigned(kMaxImageSide))
    jpegFail(reinterpret_cast<j_common_ptr>(&info));
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  image.width = info.output_width;
  image.height = info.output_height;
  image.bgra.assign(std::size_t(image.width) * image.height * 4, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.bgra.data() + std::size_t(info.output_scanline) * image.width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

// PNG through stb_image, JPEG through libjpeg-turbo (the packaged stb_image reads and writes out of
// bounds on hostile JPEGs); anything else is not a texture of the show.
bool decode(const std::string& bytes, Image& image) {
  if (isPng(bytes)) return decodePng(bytes, image);
  if (isJpeg(bytes)) return decodeJpeg(bytes, image);
  return false;
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

bool stbDecodes(std::string_view bytes) { return isPng(bytes); }

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
