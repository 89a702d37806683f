// The OpenGL backend's device objects: surfaces (renderbuffers or texture levels), textures,
// vertex and index buffers and declarations. Each is reference counted, deletes itself on its last
// Release and holds its context so that its GL names are deleted in it. Main thread only.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/Resources.h"
#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlFormats.h"
#include "platform/d3d9/gl/GlObjects.h"

namespace d3d9::gl {

// Texture uploads bind on this unit, above the units pass programs sample from, so an upload never
// disturbs a bound sampler.
constexpr GLuint kUploadUnit = 31;

class GlTexture;

// A stand-alone surface (back buffer, depth-stencil: a renderbuffer) or a level of a texture.
class GlSurface final : public Surface {
public:
  GlSurface(std::shared_ptr<GlContext> context, const D3DSURFACE_DESC& desc, GLenum storage, int samples);
  GlSurface(const D3DSURFACE_DESC& desc, GlTexture* texture, UINT level);
  ~GlSurface() override;

  bool multisampled() const { return desc().MultiSampleType != D3DMULTISAMPLE_NONE; }
  // Attaches the surface at `attachment` of the framebuffer bound to `target`.
  void attach(GLenum target, GLenum attachment) const;

private:
  std::shared_ptr<GlContext> context_;
  RenderbufferName renderbuffer_;
  GlTexture* texture_ = nullptr;
  UINT level_ = 0;
};

// Texels live in GL; a locked level has a copy in memory that UnlockRect uploads and frees.
struct GlLevel {
  std::unique_ptr<GlSurface> surface;
  std::vector<BYTE> bytes;
  DWORD lockFlags = 0;
  bool locked = false;
  bool written = false;
};

class GlTexture final : public Texture<GlLevel> {
public:
  // `format` must be one textureFormatOf accepts.
  GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool);
  ~GlTexture() override;

  HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect(UINT Level) override;

  GLuint name() const { return texture_.get(); }
  bool hasMips() const { return levels_.size() > 1; }

private:
  void bindForUpload() const;

  std::shared_ptr<GlContext> context_;
  TextureFormat format_;
  TextureName texture_;
};

// A vertex or index buffer: a GL buffer and a copy of its bytes in memory, so a lock without
// D3DLOCK_DISCARD reads back what was written. Unlock uploads the locked range; a discarding lock
// orphans the GL storage first, so draws still reading the old data do not stall.
template <typename Interface, typename Desc>
class GlBuffer final : public Buffer<Interface, Desc> {
public:
  GlBuffer(std::shared_ptr<GlContext> context, const Desc& desc)
      : Buffer<Interface, Desc>(desc), context_(std::move(context)), buffer_(BufferName::make()) {
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_.get());
    glBufferData(GL_COPY_WRITE_BUFFER, desc.Size, nullptr, usage());
  }
  ~GlBuffer() override { context_->makeCurrent(); }

  GLuint name() const { return buffer_.get(); }

private:
  void unlocked(UINT offset, UINT size, DWORD flags) override {
    if (flags & D3DLOCK_READONLY) return;
    const Desc& desc = this->desc();
    const BYTE* bytes = this->bytes().data();
    context_->makeCurrent();
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_.get());
    if (flags & D3DLOCK_DISCARD) {
      glBufferData(GL_COPY_WRITE_BUFFER, desc.Size, nullptr, usage());
      glBufferSubData(GL_COPY_WRITE_BUFFER, 0, desc.Size, bytes);
    } else if (size > 0) {
      glBufferSubData(GL_COPY_WRITE_BUFFER, offset, size, bytes + offset);
    }
  }
  GLenum usage() const { return (this->desc().Usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW; }

  std::shared_ptr<GlContext> context_;
  BufferName buffer_;
};

using GlVertexBuffer = GlBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using GlIndexBuffer = GlBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

// A declaration and the attribute pointers it sets up (elements no shader location reads are left out).
class GlVertexDeclaration final : public Declaration {
public:
  struct Attribute {
    GLuint location;
    AttributeFormat format;
    UINT offset;
  };
  explicit GlVertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements);
  const std::vector<Attribute>& attributes() const { return attributes_; }

private:
  std::vector<Attribute> attributes_;
};

}  // namespace d3d9::gl
