// Fuzz target for texture decoding: D3DXCreateTextureFromFileA on the trace device, then every
// level of the texture locked and read, as a backend uploading it would. A decoded texture is
// never larger than the loader's side limit.
#include <stb/stb_image.h>

#include "fuzz/FuzzSupport.h"
#include "platform/d3dx9/TextureLoader.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

// The loader takes pictures up to 8192 x 8192, and a header of a few bytes can ask for one (the
// decoders fill missing data with zeros): in this instrumented build that costs seconds and a
// gigabyte per input and exercises nothing a smaller picture does not, so larger ones are skipped.
constexpr long long kMaxPixels = 512 * 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::MemoryFile file;
  static fuzz::TraceDevice device;
  int width = 0, height = 0, channels = 0;
  // The size check reads the header with the decoder, which the loader's guard must see first.
  const bool readable = d3dx9::stbDecodes({reinterpret_cast<const char*>(data), size});
  if (readable && stbi_info_from_memory(data, int(size), &width, &height, &channels) &&
      (long long)width * height > kMaxPixels)
    return 0;
  const char* path = file.write(data, size);

  d3d9::ComPtr<IDirect3DTexture9> texture;
  HRESULT hr = D3DXCreateTextureFromFileA(device.get(), path, texture.put());
  FUZZ_CHECK(SUCCEEDED(hr) == bool(texture));
  if (FAILED(hr)) {
    FUZZ_CHECK(hr == D3DXERR_INVALIDDATA);
    return 0;
  }
  UINT levels = texture->GetLevelCount();
  FUZZ_CHECK(levels >= 1);
  for (UINT level = 0; level < levels; ++level) {
    D3DSURFACE_DESC desc{};
    FUZZ_CHECK(SUCCEEDED(texture->GetLevelDesc(level, &desc)));
    FUZZ_CHECK(desc.Width >= 1 && desc.Height >= 1 && desc.Width <= 8192 && desc.Height <= 8192);
    D3DLOCKED_RECT rect{};
    FUZZ_CHECK(SUCCEEDED(texture->LockRect(level, &rect, nullptr, D3DLOCK_READONLY)));
    const auto* bytes = static_cast<const unsigned char*>(rect.pBits);
    volatile unsigned sum = 0;
    for (UINT row = 0; row < desc.Height; ++row) sum = sum + bytes[std::size_t(row) * rect.Pitch + desc.Width * 4 - 1];
    texture->UnlockRect(level);
  }
  return 0;
}
