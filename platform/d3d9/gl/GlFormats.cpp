// Format, render-state and vertex-element translation tables.
#include "platform/d3d9/gl/GlFormats.h"

namespace d3d9::gl {

std::optional<TextureFormat> textureFormatOf(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
      return TextureFormat{GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    case D3DFMT_X8R8G8B8:
      return TextureFormat{GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    case D3DFMT_R5G6B5:
      return TextureFormat{GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    case D3DFMT_R32F:
      return TextureFormat{GL_R32F, GL_RED, GL_FLOAT, {GL_RED, GL_ONE, GL_ONE, GL_ONE}};
    default:
      return std::nullopt;
  }
}

GLenum depthFormatOf(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_D24S8:
    case D3DFMT_D24X8: return GL_DEPTH24_STENCIL8;
    case D3DFMT_D16: return GL_DEPTH_COMPONENT16;
    default: return 0;
  }
}

bool hasStencil(D3DFORMAT format) { return depthFormatOf(format) == GL_DEPTH24_STENCIL8; }

int sampleCountOf(DWORD type, int maxSamples) {
  if (type == D3DMULTISAMPLE_NONE) return 0;
  if (type < 2 || type > 16 || int(type) > maxSamples) return -1;
  return int(type);
}

GLenum blendFactorOf(DWORD blend) {
  switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    default: return 0;
  }
}

GLenum blendEquationOf(DWORD blendOp) {
  switch (blendOp) {
    case D3DBLENDOP_ADD: return GL_FUNC_ADD;
    case D3DBLENDOP_MIN: return GL_MIN;
    default: return 0;
  }
}

std::optional<CullSetting> cullOf(DWORD cullMode) {
  switch (cullMode) {
    case D3DCULL_NONE: return CullSetting{false, GL_BACK};
    case D3DCULL_CCW: return CullSetting{true, GL_BACK};
    case D3DCULL_CW: return CullSetting{true, GL_FRONT};
    default: return std::nullopt;
  }
}

int attributeLocationOf(BYTE usage, BYTE usageIndex) {
  switch (usage) {
    case D3DDECLUSAGE_POSITION: return usageIndex == 0 ? 0 : -1;
    case D3DDECLUSAGE_NORMAL: return usageIndex == 0 ? 1 : -1;
    case D3DDECLUSAGE_TEXCOORD:
      if (usageIndex == 0) return 2;
      return usageIndex <= 3 ? 6 + usageIndex : -1;
    case D3DDECLUSAGE_TANGENT: return usageIndex == 0 ? 3 : -1;
    case D3DDECLUSAGE_BINORMAL: return usageIndex == 0 ? 4 : -1;
    case D3DDECLUSAGE_COLOR: return usageIndex == 0 ? 5 : -1;
    case D3DDECLUSAGE_BLENDWEIGHT: return usageIndex == 0 ? 6 : -1;
    default: return -1;
  }
}

std::optional<AttributeFormat> attributeFormatOf(BYTE declType) {
  switch (declType) {
    case D3DDECLTYPE_FLOAT1: return AttributeFormat{1, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT2: return AttributeFormat{2, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT3: return AttributeFormat{3, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_FLOAT4: return AttributeFormat{4, GL_FLOAT, GL_FALSE};
    case D3DDECLTYPE_D3DCOLOR: return AttributeFormat{GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE};
    default: return std::nullopt;
  }
}

}  // namespace d3d9::gl
