// The OpenGL device's work once a call passed its checks: translate to GL, draw.
#include "platform/d3d9/gl/GlDevice.h"

#include <cstdio>

#include "platform/d3d9/Formats.h"

namespace d3d9::gl {

namespace {

// The back buffer's format when the caller leaves it to the device.
D3DPRESENT_PARAMETERS withFormat(D3DPRESENT_PARAMETERS params) {
  if (params.BackBufferFormat == D3DFMT_UNKNOWN) params.BackBufferFormat = D3DFMT_X8R8G8B8;
  return params;
}

}  // namespace

GlDevice::GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& params, int samples,
                   int maxSamples)
    : CheckedDevice(withFormat(params), CheckOptions{.scanIndices = false}),
      context_(std::move(context)),
      maxSamples_(maxSamples),
      compiler_(context_),
      framebuffer_(FramebufferName::make()),
      vertexArray_(VertexArrayName::make()) {
  const D3DPRESENT_PARAMETERS& pp = presentParameters();
  D3DSURFACE_DESC desc{pp.BackBufferFormat, D3DRTYPE_SURFACE,        D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                       pp.MultiSampleType,  pp.MultiSampleQuality,   pp.BackBufferWidth,    pp.BackBufferHeight};
  useBackBuffer(new GlSurface(context_, desc, GL_RGBA8, samples));
  claimContext();
  if (context_->hasWindow()) {
    int interval = pp.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1;
    if (!context_->setSwapInterval(interval))
      std::fprintf(stderr, "d3d9 gl: the driver refuses swap interval %d; presenting without vsync\n", interval);
  }
}

GlDevice::~GlDevice() {
  context_->makeCurrent();
  if (context_->stateOwner == this) context_->stateOwner = nullptr;
}

// Direct3D's conventions, set once per context owner: clip depth 0..1 with row 0 at the top of every
// framebuffer object; clockwise on screen is front; depth passes when less or equal.
void GlDevice::claimContext() {
  context_->makeCurrent();
  if (context_->stateOwner == this) return;
  context_->stateOwner = this;
  glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
  glFrontFace(GL_CW);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_SCISSOR_TEST);
  glEnable(GL_MULTISAMPLE);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glBindVertexArray(vertexArray_.get());
  glViewport(GLint(viewport().X), GLint(viewport().Y), GLsizei(viewport().Width), GLsizei(viewport().Height));
  for (const auto& [state, value] : renderStates()) setGlState(state, value);
}

// ---------------------------------------------------------------------------------------------
// Resources

IDirect3DTexture9* GlDevice::newTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                        D3DPOOL pool) {
  context_->makeCurrent();
  return new GlTexture(context_, width, height, levels, usage, format, pool);
}

IDirect3DVertexBuffer9* GlDevice::newVertexBuffer(const D3DVERTEXBUFFER_DESC& desc) {
  context_->makeCurrent();
  return new GlVertexBuffer(context_, desc);
}

IDirect3DIndexBuffer9* GlDevice::newIndexBuffer(const D3DINDEXBUFFER_DESC& desc) {
  context_->makeCurrent();
  return new GlIndexBuffer(context_, desc);
}

// Null for a sample count the driver cannot render.
IDirect3DSurface9* GlDevice::newDepthStencil(const D3DSURFACE_DESC& desc) {
  int samples = sampleCountOf(desc.MultiSampleType, maxSamples_);
  if (samples < 0) return nullptr;
  context_->makeCurrent();
  return new GlSurface(context_, desc, depthFormatOf(desc.Format), samples);
}

IDirect3DVertexDeclaration9* GlDevice::newDeclaration(std::vector<D3DVERTEXELEMENT9> elements) {
  return new GlVertexDeclaration(std::move(elements));
}

// ---------------------------------------------------------------------------------------------
// Frame

// Clears what the flags name in the bound surfaces, whatever the blend state (glClear ignores it);
// colour and depth writes are always on in this backend.
bool GlDevice::clearTargets(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z,
                            DWORD Stencil) {
  claimContext();
  if (!bindTargets()) return false;
  GLbitfield mask = 0;
  if (Flags & D3DCLEAR_TARGET) {
    glClearColor(float((Color >> 16) & 0xFF) / 255.0f, float((Color >> 8) & 0xFF) / 255.0f,
                 float(Color & 0xFF) / 255.0f, float(Color >> 24) / 255.0f);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (Flags & D3DCLEAR_ZBUFFER) {
    glClearDepth(Z);
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if ((Flags & D3DCLEAR_STENCIL) && hasStencil(depthStencil()->desc().Format)) {
    glClearStencil(GLint(Stencil & 0xFF));
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (Count == 0) {
    glClear(mask);
    return true;
  }
  // Rectangles are in pixels from the top left, which is how rows lie in our framebuffers.
  glEnable(GL_SCISSOR_TEST);
  for (DWORD i = 0; i < Count; ++i) {
    const D3DRECT& r = pRects[i];
    if (r.x2 <= r.x1 || r.y2 <= r.y1) continue;
    glScissor(r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1);
    glClear(mask);
  }
  glDisable(GL_SCISSOR_TEST);
  return true;
}

// Shows the whole back buffer: blitted flipped to the window, or, headless, copied (resolved) into
// the front buffer that presentedImage reads.
void GlDevice::present() {
  claimContext();
  if (context_->hasWindow()) {
    int width = 0, height = 0;
    context_->drawableSize(width, height);
    blitter_.toWindow(backBuffer(), width, height);
    context_->swapBuffers();
  } else {
    blitter_.snapshot(backBuffer(), front_);
    presented_ = true;
    glFlush();
  }
}

void GlDevice::targetsChanged() {
  targetsChanged_ = true;
  claimContext();
  glViewport(0, 0, GLsizei(viewport().Width), GLsizei(viewport().Height));
}

// Copies between colour surfaces with no flip (all framebuffers have their top row first); a
// multisampled source is resolved 1:1 before a scaled copy.
void GlDevice::copy(GlSurface& source, const RECT& from, GlSurface& dest, const RECT& to,
                    D3DTEXTUREFILTERTYPE filter) {
  claimContext();
  blitter_.copy(source, from, dest, to, filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
}

void GlDevice::finish() {
  claimContext();
  glFinish();
}

Image GlDevice::presentedImage() {
  Image image;
  if (!presented_) return image;
  claimContext();
  image.width = front_.width();
  image.height = front_.height();
  image.rgba.resize(std::size_t(image.width) * image.height * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, front_.framebuffer());
  glReadPixels(0, 0, GLsizei(image.width), GLsizei(image.height), GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
  // Row 0 of the framebuffer is the top of the picture: no flip. X8 formats have no alpha to show.
  if (presentParameters().BackBufferFormat != D3DFMT_A8R8G8B8)
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) image.rgba[i] = 255;
  return image;
}

unsigned GlDevice::takeGlErrors() {
  context_->makeCurrent();
  unsigned count = 0;
  while (glGetError() != GL_NO_ERROR) ++count;
  return count;
}

// ---------------------------------------------------------------------------------------------
// Drawing

bool GlDevice::bindTargets() {
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
  if (!targetsChanged_) return targetsComplete_;
  targetsChanged_ = false;
  renderTarget().attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
  if (GlSurface* depth = depthStencil()) {
    bool stencil = hasStencil(depth->desc().Format);
    depth->attach(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT);
  }
  targetsComplete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  return targetsComplete_;
}

void GlDevice::bindStream() {
  if (!streamChanged_) return;
  streamChanged_ = false;
  glBindBuffer(GL_ARRAY_BUFFER, stream().name());
  unsigned enabled = 0;
  for (const GlVertexDeclaration::Attribute& a : declaration().attributes()) {
    const auto offset = static_cast<std::uintptr_t>(streamOffset()) + a.offset;
    glVertexAttribPointer(a.location, a.format.size, a.format.type, a.format.normalized, GLsizei(streamStride()),
                          reinterpret_cast<const void*>(offset));
    enabled |= 1u << a.location;
  }
  for (GLuint location = 0; location < 16; ++location) {
    unsigned bit = 1u << location;
    if ((enabled & bit) && !(enabledAttributes_ & bit)) glEnableVertexAttribArray(location);
    if (!(enabled & bit) && (enabledAttributes_ & bit)) glDisableVertexAttribArray(location);
  }
  enabledAttributes_ = enabled;
}

// Without a pass program (an effect that failed to build) there is nothing to draw with.
bool GlDevice::draw(INT base, UINT startIndex, UINT primCount) {
  if (!compiler_.hasCurrentProgram()) return true;
  claimContext();
  if (!bindTargets()) return false;
  bindStream();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices().name());
  bool wide = indices().desc().Format == D3DFMT_INDEX32;
  const auto offset = static_cast<std::uintptr_t>(startIndex) * (wide ? 4 : 2);
  glDrawElementsBaseVertex(GL_TRIANGLES, GLsizei(primCount * 3), wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                           reinterpret_cast<const void*>(offset), base);
  return true;
}

void GlDevice::applyRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  claimContext();
  setGlState(state, value);
}

void GlDevice::setGlState(D3DRENDERSTATETYPE state, DWORD value) {
  switch (state) {
    case D3DRS_ZENABLE:
      value ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
      break;
    case D3DRS_ALPHABLENDENABLE:
      value ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
      break;
    case D3DRS_CULLMODE:
      if (auto cull = cullOf(value)) {
        cull->enabled ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
        glCullFace(cull->face);
      }
      break;
    case D3DRS_BLENDOP:
      if (GLenum equation = blendEquationOf(value)) glBlendEquation(equation);
      break;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND: {
      GLenum source = blendFactorOf(renderState(D3DRS_SRCBLEND));
      GLenum dest = blendFactorOf(renderState(D3DRS_DESTBLEND));
      if (source && dest) glBlendFunc(source, dest);
      break;
    }
  }
}

}  // namespace d3d9::gl
