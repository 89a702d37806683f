// The OpenGL backend's device objects: surfaces (renderbuffers or texture levels), textures,
// vertex and index buffers and declarations. Each is reference counted, deletes itself on its last
// Release and holds its context so that its GL names are deleted in it. Main thread only.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlContext.h"
#include "platform/d3d9/gl/GlFormats.h"
#include "platform/d3d9/gl/GlObjects.h"

namespace d3d9::gl {

// Texture uploads bind on this unit, above the units pass programs sample from, so an upload never
// disturbs a bound sampler.
constexpr GLuint kUploadUnit = 31;

// AddRef/Release for one interface; the object deletes itself when the count reaches zero.
template <typename Interface>
class RefCounted : public Interface {
public:
  ULONG AddRef() override { return ++count_; }
  ULONG Release() override {
    ULONG left = --count_;
    if (left == 0) delete this;
    return left;
  }

private:
  ULONG count_ = 1;
};

template <typename Interface>
class Named : public RefCounted<Interface> {
public:
  void SetDebugName(const char* name) override { name_ = name ? name : ""; }
  const char* GetDebugName() const override { return name_.empty() ? nullptr : name_.c_str(); }

private:
  std::string name_;
};

class GlTexture;

// A stand-alone surface (back buffer, depth-stencil: a renderbuffer) or a level of a texture. A
// level shares the texture's reference count and name, as Direct3D's texture levels do.
class GlSurface final : public Named<IDirect3DSurface9> {
public:
  GlSurface(std::shared_ptr<GlContext> context, const D3DSURFACE_DESC& desc, GLenum storage, int samples);
  GlSurface(const D3DSURFACE_DESC& desc, GlTexture* container, UINT level);
  ~GlSurface() override;

  ULONG AddRef() override;
  ULONG Release() override;
  const char* GetDebugName() const override;
  HRESULT GetDesc(D3DSURFACE_DESC* pDesc) override;

  const D3DSURFACE_DESC& desc() const { return desc_; }
  bool isRenderTarget() const { return (desc_.Usage & D3DUSAGE_RENDERTARGET) != 0; }
  bool isDepthStencil() const { return (desc_.Usage & D3DUSAGE_DEPTHSTENCIL) != 0; }
  bool multisampled() const { return desc_.MultiSampleType != D3DMULTISAMPLE_NONE; }
  // Attaches the surface at `attachment` of the framebuffer bound to `target`.
  void attach(GLenum target, GLenum attachment) const;

private:
  std::shared_ptr<GlContext> context_;
  D3DSURFACE_DESC desc_;
  RenderbufferName renderbuffer_;
  GlTexture* container_ = nullptr;
  UINT level_ = 0;
};

class GlTexture final : public Named<IDirect3DTexture9> {
public:
  // `format` must be one textureFormatOf accepts.
  GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
            D3DPOOL pool);
  ~GlTexture() override;

  DWORD GetLevelCount() override;
  HRESULT GetLevelDesc(UINT Level, D3DSURFACE_DESC* pDesc) override;
  HRESULT GetSurfaceLevel(UINT Level, IDirect3DSurface9** ppSurfaceLevel) override;
  HRESULT LockRect(UINT Level, D3DLOCKED_RECT* pLockedRect, const RECT* pRect, DWORD Flags) override;
  HRESULT UnlockRect(UINT Level) override;

  GLuint name() const { return texture_.get(); }
  bool hasMips() const { return levels_.size() > 1; }

private:
  // Texels live in GL; a locked level has a copy in memory that UnlockRect uploads and frees.
  struct Level {
    std::unique_ptr<GlSurface> surface;
    std::vector<BYTE> bytes;
    DWORD lockFlags = 0;
    bool locked = false;
    bool written = false;
  };
  void bindForUpload() const;

  std::shared_ptr<GlContext> context_;
  TextureFormat format_;
  TextureName texture_;
  std::vector<Level> levels_;
};

// A vertex or index buffer: a GL buffer and a copy of its bytes in memory, so a lock without
// D3DLOCK_DISCARD reads back what was written. Unlock uploads the locked range; a discarding lock
// orphans the GL storage first, so draws still reading the old data do not stall.
template <typename Interface, typename Desc>
class GlBuffer final : public Named<Interface> {
public:
  GlBuffer(std::shared_ptr<GlContext> context, const Desc& desc)
      : context_(std::move(context)), desc_(desc), bytes_(desc.Size), buffer_(BufferName::make()) {
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_.get());
    glBufferData(GL_COPY_WRITE_BUFFER, desc_.Size, nullptr, usage());
  }
  ~GlBuffer() override { context_->makeCurrent(); }

  HRESULT Lock(UINT OffsetToLock, UINT SizeToLock, void** ppbData, DWORD Flags) override {
    if (!ppbData || locked_) return D3DERR_INVALIDCALL;
    UINT size = SizeToLock == 0 ? desc_.Size - std::min(OffsetToLock, desc_.Size) : SizeToLock;
    if (OffsetToLock > desc_.Size || size > desc_.Size - OffsetToLock) return D3DERR_INVALIDCALL;
    locked_ = true;
    lockOffset_ = OffsetToLock;
    lockSize_ = size;
    lockFlags_ = Flags;
    *ppbData = bytes_.data() + OffsetToLock;
    return D3D_OK;
  }

  HRESULT Unlock() override {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    if (lockFlags_ & D3DLOCK_READONLY) return D3D_OK;
    context_->makeCurrent();
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_.get());
    if (lockFlags_ & D3DLOCK_DISCARD) {
      glBufferData(GL_COPY_WRITE_BUFFER, desc_.Size, nullptr, usage());
      glBufferSubData(GL_COPY_WRITE_BUFFER, 0, desc_.Size, bytes_.data());
    } else if (lockSize_ > 0) {
      glBufferSubData(GL_COPY_WRITE_BUFFER, lockOffset_, lockSize_, bytes_.data() + lockOffset_);
    }
    return D3D_OK;
  }

  HRESULT GetDesc(Desc* pDesc) override {
    if (!pDesc) return D3DERR_INVALIDCALL;
    *pDesc = desc_;
    return D3D_OK;
  }

  const Desc& desc() const { return desc_; }
  bool locked() const { return locked_; }
  GLuint name() const { return buffer_.get(); }

private:
  GLenum usage() const { return (desc_.Usage & D3DUSAGE_DYNAMIC) ? GL_DYNAMIC_DRAW : GL_STATIC_DRAW; }

  std::shared_ptr<GlContext> context_;
  Desc desc_;
  std::vector<BYTE> bytes_;
  BufferName buffer_;
  bool locked_ = false;
  UINT lockOffset_ = 0;
  UINT lockSize_ = 0;
  DWORD lockFlags_ = 0;
};

using GlVertexBuffer = GlBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using GlIndexBuffer = GlBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

// A declaration and the attribute pointers it sets up (elements no shader location reads are left out).
class GlVertexDeclaration final : public RefCounted<IDirect3DVertexDeclaration9> {
public:
  struct Attribute {
    GLuint location;
    AttributeFormat format;
    UINT offset;
  };
  explicit GlVertexDeclaration(std::vector<D3DVERTEXELEMENT9> elements);
  HRESULT GetDeclaration(D3DVERTEXELEMENT9* pDecl, UINT* pNumElements) override;
  const std::vector<Attribute>& attributes() const { return attributes_; }

private:
  std::vector<D3DVERTEXELEMENT9> elements_;
  std::vector<Attribute> attributes_;
};

}  // namespace d3d9::gl
