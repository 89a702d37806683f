// Surfaces, textures and declarations of the OpenGL backend.
#include "platform/d3d9/gl/GlResources.h"

#include "platform/d3d9/Formats.h"

namespace d3d9::gl {

GlSurface::GlSurface(std::shared_ptr<GlContext> context, const D3DSURFACE_DESC& desc, GLenum storage, int samples)
    : Surface(desc, nullptr), context_(std::move(context)), renderbuffer_(RenderbufferName::make()) {
  glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_.get());
  glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, storage, GLsizei(desc.Width), GLsizei(desc.Height));
}

GlSurface::GlSurface(const D3DSURFACE_DESC& desc, GlTexture* texture, UINT level)
    : Surface(desc, texture), texture_(texture), level_(level) {}

GlSurface::~GlSurface() {
  if (context_) context_->makeCurrent();
}

void GlSurface::attach(GLenum target, GLenum attachment) const {
  if (texture_) {
    glFramebufferTexture2D(target, attachment, GL_TEXTURE_2D, texture_->name(), GLint(level_));
  } else {
    glFramebufferRenderbuffer(target, attachment, GL_RENDERBUFFER, renderbuffer_.get());
  }
}

// ---------------------------------------------------------------------------------------------

GlTexture::GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool)
    : context_(std::move(context)), format_(*textureFormatOf(format)), texture_(TextureName::make()) {
  UINT count = levels == 0 ? mipChainLength(width, height) : std::min(levels, mipChainLength(width, height));
  bindForUpload();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(count - 1));
  glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, format_.swizzle);
  levels_.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    glTexImage2D(GL_TEXTURE_2D, GLint(i), GLint(format_.internalFormat), GLsizei(width), GLsizei(height), 0,
                 format_.format, format_.type, nullptr);
    D3DSURFACE_DESC desc{format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    levels_.emplace_back();
    levels_.back().surface = std::make_unique<GlSurface>(desc, this, i);
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
}

GlTexture::~GlTexture() { context_->makeCurrent(); }

void GlTexture::bindForUpload() const {
  glActiveTexture(GL_TEXTURE0 + kUploadUnit);
  glBindTexture(GL_TEXTURE_2D, texture_.get());
}

// A level written before and locked without discarding is read back first, so the lock shows its
// texels; a first lock starts from zeros.
HRESULT GlTexture::LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) {
  if (!pLockedRect || Level >= levels_.size() || pRect) return D3DERR_INVALIDCALL;
  auto& level = levels_[Level];
  const D3DSURFACE_DESC& desc = level.surface->desc();
  if (level.locked || !lockable(desc)) return D3DERR_INVALIDCALL;
  UINT pitch = desc.Width * bytesPerTexel(desc.Format);
  level.bytes.assign(std::size_t(pitch) * desc.Height, 0);
  if (level.written && !(Flags & D3DLOCK_DISCARD)) {
    context_->makeCurrent();
    bindForUpload();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, GLint(Level), format_.format, format_.type, level.bytes.data());
  }
  level.locked = true;
  level.lockFlags = Flags;
  pLockedRect->Pitch = static_cast<INT>(pitch);
  pLockedRect->pBits = level.bytes.data();
  return D3D_OK;
}

HRESULT GlTexture::UnlockRect(UINT Level) {
  if (Level >= levels_.size() || !levels_[Level].locked) return D3DERR_INVALIDCALL;
  auto& level = levels_[Level];
  level.locked = false;
  if (!(level.lockFlags & D3DLOCK_READONLY)) {
    const D3DSURFACE_DESC& desc = level.surface->desc();
    context_->makeCurrent();
    bindForUpload();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, GLint(Level), 0, 0, GLsizei(desc.Width), GLsizei(desc.Height), format_.format,
                    format_.type, level.bytes.data());
    level.written = true;
  }
  std::vector<BYTE>().swap(level.bytes);
  return D3D_OK;
}

// ---------------------------------------------------------------------------------------------

GlVertexDeclaration::GlVertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements) : Declaration(std::move(elements)) {
  for (const D3DVERTEXELEMENT9& e : this->elements()) {
    int location = attributeLocationOf(e.Usage, e.UsageIndex);
    auto format = attributeFormatOf(e.Type);
    if (location >= 0 && format) attributes_.push_back(Attribute{GLuint(location), *format, e.Offset});
  }
}

}  // namespace d3d9::gl
