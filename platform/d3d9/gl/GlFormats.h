// How Direct3D formats, render-state values and vertex elements become OpenGL ones: the one place
// where the backend translates conventions (byte order, swizzles, winding, attribute locations).
#pragma once

#include <epoxy/gl.h>

#include <optional>

#include "platform/d3d9/d3d9.h"

namespace d3d9::gl {

// A colour format as a texture: storage, the client layout of its texels and the swizzle that makes
// sampling give what Direct3D gives.
struct TextureFormat {
  GLenum internalFormat;
  GLenum format;
  GLenum type;
  GLint swizzle[4];
};

// A8R8G8B8 and X8R8G8B8 are bytes B,G,R,A in memory (GL_BGRA); X8 samples alpha as 1; R32F samples
// as (r,1,1,1). Empty for a format the backend cannot sample.
std::optional<TextureFormat> textureFormatOf(D3DFORMAT format);

// Renderbuffer storage of a depth-stencil format; 0 for a colour or unknown format.
GLenum depthFormatOf(D3DFORMAT format);
bool hasStencil(D3DFORMAT format);

// Samples of a multisample type: 0 for none, n for the n-sample types, -1 for one the backend refuses
// (non-maskable, or more than maxSamples).
int sampleCountOf(DWORD type, int maxSamples);

// Render-state values; 0 for a value Direct3D has but the system never sets.
GLenum blendFactorOf(DWORD blend);
GLenum blendEquationOf(DWORD blendOp);

// Culling, with glFrontFace(GL_CW) under a GL_UPPER_LEFT clip origin: D3DCULL_CCW culls GL_BACK,
// D3DCULL_CW GL_FRONT, D3DCULL_NONE disables culling. Empty for an unknown value.
struct CullSetting {
  bool enabled;
  GLenum face;
};
std::optional<CullSetting> cullOf(DWORD cullMode);

// The attribute location a vertex element feeds: POSITION 0, NORMAL 1, TEXCOORD0 2, TANGENT 3,
// BINORMAL 4, COLOR 5, BLENDWEIGHT 6, TEXCOORD1-3 7-9; -1 for an element no shader reads.
int attributeLocationOf(BYTE usage, BYTE usageIndex);

// glVertexAttribPointer's size, type and normalisation for a declaration type; D3DCOLOR reads its
// B,G,R,A bytes as normalised (r,g,b,a) through the GL_BGRA size.
struct AttributeFormat {
  GLint size;
  GLenum type;
  GLboolean normalized;
};
std::optional<AttributeFormat> attributeFormatOf(BYTE declType);

}  // namespace d3d9::gl
