// Calls of the OpenGL device: check, record, translate to GL, draw.
#include "platform/d3d9/gl/GlDevice.h"

#include <cstdio>

#include "platform/d3d9/Formats.h"
#include "platform/d3d9/TraceEvents.h"

namespace d3d9::gl {

namespace {

template <typename To, typename From>
To* glObject(From* object) {
  return object ? dynamic_cast<To*>(object) : nullptr;
}

template <typename T>
ComPtr<T> share(T* object) {
  if (object) object->AddRef();
  return ComPtr<T>(object);
}

// Direct3D's defaults for the states the system sets (no automatic depth buffer: Z off).
const std::map<D3DRENDERSTATETYPE, DWORD> kDefaultStates = {
    {D3DRS_ZENABLE, D3DZB_FALSE},    {D3DRS_SRCBLEND, D3DBLEND_ONE},  {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},   {D3DRS_ALPHABLENDENABLE, FALSE}, {D3DRS_BLENDOP, D3DBLENDOP_ADD}};

bool insideSurface(const RECT& r, const GlSurface& surface) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
         UINT(r.right) <= surface.desc().Width && UINT(r.bottom) <= surface.desc().Height;
}

}  // namespace

GlDevice::GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& params, int samples,
                   int maxSamples)
    : context_(std::move(context)),
      params_(params),
      maxSamples_(maxSamples),
      compiler_(context_),
      framebuffer_(FramebufferName::make()),
      vertexArray_(VertexArrayName::make()),
      renderStates_(kDefaultStates) {
  if (params_.BackBufferFormat == D3DFMT_UNKNOWN) params_.BackBufferFormat = D3DFMT_X8R8G8B8;
  D3DSURFACE_DESC desc{params_.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                       params_.MultiSampleType,  params_.MultiSampleQuality, params_.BackBufferWidth,
                       params_.BackBufferHeight};
  backBuffer_ = ComPtr<GlSurface>(new GlSurface(context_, desc, GL_RGBA8, samples));
  backBuffer_->SetDebugName("backbuffer");
  renderTarget_ = backBuffer_;
  viewport_ = {0, 0, params_.BackBufferWidth, params_.BackBufferHeight, 0.0f, 1.0f};
  claimContext();
  if (context_->hasWindow()) {
    int interval = params_.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1;
    if (!context_->setSwapInterval(interval))
      std::fprintf(stderr, "d3d9 gl: the driver refuses swap interval %d; presenting without vsync\n", interval);
  }
}

GlDevice::~GlDevice() {
  context_->makeCurrent();
  if (context_->stateOwner == this) context_->stateOwner = nullptr;
}

HRESULT GlDevice::refuse() {
  ++invalidCalls_;
  return D3DERR_INVALIDCALL;
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
  glViewport(GLint(viewport_.X), GLint(viewport_.Y), GLsizei(viewport_.Width), GLsizei(viewport_.Height));
  for (const auto& [state, value] : renderStates_) applyRenderState(state, value);
}

// ---------------------------------------------------------------------------------------------
// Resources

HRESULT GlDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                IDirect3DTexture9** ppTexture, HANDLE*) {
  if (!ppTexture) return refuse();
  *ppTexture = nullptr;
  bool renderTarget = (Usage & D3DUSAGE_RENDERTARGET) != 0;
  if (Width == 0 || Height == 0 || !textureFormatOf(Format) || (renderTarget && Pool != D3DPOOL_DEFAULT))
    return refuse();
  context_->makeCurrent();
  *ppTexture = new GlTexture(context_, Width, Height, Levels, Usage, Format, Pool);
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                     IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE*) {
  if (!ppVertexBuffer) return refuse();
  *ppVertexBuffer = nullptr;
  if (Length == 0) return refuse();
  context_->makeCurrent();
  *ppVertexBuffer = new GlVertexBuffer(
      context_, D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, Usage, Pool, Length, FVF});
  return D3D_OK;
}

HRESULT GlDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                    IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE*) {
  if (!ppIndexBuffer) return refuse();
  *ppIndexBuffer = nullptr;
  if (Length == 0 || (Format != D3DFMT_INDEX16 && Format != D3DFMT_INDEX32)) return refuse();
  context_->makeCurrent();
  *ppIndexBuffer =
      new GlIndexBuffer(context_, D3DINDEXBUFFER_DESC{Format, D3DRTYPE_INDEXBUFFER, Usage, Pool, Length});
  return D3D_OK;
}

HRESULT GlDevice::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                                            DWORD MultisampleQuality, BOOL, IDirect3DSurface9** ppSurface, HANDLE*) {
  if (!ppSurface) return refuse();
  *ppSurface = nullptr;
  int samples = sampleCountOf(MultiSample, maxSamples_);
  if (Width == 0 || Height == 0 || depthFormatOf(Format) == 0 || samples < 0) return refuse();
  context_->makeCurrent();
  D3DSURFACE_DESC desc{Format,      D3DRTYPE_SURFACE,   D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT,
                       MultiSample, MultisampleQuality, Width,                 Height};
  *ppSurface = new GlSurface(context_, desc, depthFormatOf(Format), samples);
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements,
                                          IDirect3DVertexDeclaration9** ppDecl) {
  if (!ppDecl) return refuse();
  *ppDecl = nullptr;
  std::vector<D3DVERTEXELEMENT9> elements;
  if (FAILED(parseDeclaration(pVertexElements, elements))) return refuse();
  *ppDecl = new GlVertexDeclaration(std::move(elements));
  return D3D_OK;
}

HRESULT GlDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                IDirect3DSurface9** ppBackBuffer) {
  if (!ppBackBuffer) return refuse();
  *ppBackBuffer = nullptr;
  if (iSwapChain != 0 || iBackBuffer >= std::max(1u, params_.BackBufferCount) || Type != D3DBACKBUFFER_TYPE_MONO)
    return refuse();
  *ppBackBuffer = share(backBuffer_.get()).detach();
  return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// Frame

HRESULT GlDevice::BeginScene() {
  traceEvent("beginScene");
  if (inScene_) return refuse();
  inScene_ = true;
  return D3D_OK;
}

HRESULT GlDevice::EndScene() {
  traceEvent("endScene");
  if (!inScene_) return refuse();
  inScene_ = false;
  return D3D_OK;
}

// Clears what the flags name in the bound surfaces, whatever the blend state (glClear ignores it);
// colour and depth writes are always on in this backend.
HRESULT GlDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil) {
  traceClear(Flags, Color, Z, Stencil);
  bool depthWanted = (Flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0;
  if ((Count != 0) != (pRects != nullptr) || (depthWanted && !depthStencil_) || Z < 0.0f || Z > 1.0f)
    return refuse();
  claimContext();
  if (!bindTargets()) return refuse();
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
  if ((Flags & D3DCLEAR_STENCIL) && hasStencil(depthStencil_->desc().Format)) {
    glClearStencil(GLint(Stencil & 0xFF));
    mask |= GL_STENCIL_BUFFER_BIT;
  }
  if (Count == 0) {
    glClear(mask);
    return D3D_OK;
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
  return D3D_OK;
}

// Shows the whole back buffer: blitted flipped to the window, or, headless, copied (resolved) into
// the front buffer that presentedImage reads.
HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  traceEvent("present");
  if (inScene_) return refuse();
  claimContext();
  if (context_->hasWindow()) {
    int width = 0, height = 0;
    context_->drawableSize(width, height);
    blitter_.toWindow(*backBuffer_, width, height);
    context_->swapBuffers();
  } else {
    blitter_.snapshot(*backBuffer_, front_);
    presented_ = true;
    glFlush();
  }
  return D3D_OK;
}

HRESULT GlDevice::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) {
  if (!ppRenderTarget) return refuse();
  *ppRenderTarget = nullptr;
  if (RenderTargetIndex != 0) return D3DERR_NOTAVAILABLE;
  *ppRenderTarget = share(renderTarget_.get()).detach();
  return D3D_OK;
}

HRESULT GlDevice::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) {
  traceSurface("setRenderTarget", pRenderTarget);
  auto* surface = glObject<GlSurface>(pRenderTarget);
  if (RenderTargetIndex != 0 || !surface || !surface->isRenderTarget()) return refuse();
  renderTarget_ = share(surface);
  targetsChanged_ = true;
  viewport_ = {0, 0, surface->desc().Width, surface->desc().Height, 0.0f, 1.0f};
  claimContext();
  glViewport(0, 0, GLsizei(viewport_.Width), GLsizei(viewport_.Height));
  return D3D_OK;
}

HRESULT GlDevice::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) {
  if (!ppZStencilSurface) return refuse();
  *ppZStencilSurface = nullptr;
  if (!depthStencil_) return D3DERR_NOTAVAILABLE;
  *ppZStencilSurface = share(depthStencil_.get()).detach();
  return D3D_OK;
}

HRESULT GlDevice::SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) {
  traceSurface("setDepthStencil", pNewZStencil);
  auto* surface = glObject<GlSurface>(pNewZStencil);
  if (pNewZStencil && (!surface || !surface->isDepthStencil())) return refuse();
  depthStencil_ = share(surface);
  targetsChanged_ = true;
  return D3D_OK;
}

// Copies between colour surfaces with no flip (all framebuffers have their top row first); a
// multisampled source is resolved 1:1 before a scaled copy.
HRESULT GlDevice::StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect,
                              IDirect3DSurface9* pDestSurface, const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter) {
  traceStretchRect(pSourceSurface, pDestSurface);
  auto* source = glObject<GlSurface>(pSourceSurface);
  auto* dest = glObject<GlSurface>(pDestSurface);
  if (!source || !dest || !dest->isRenderTarget() || source->isDepthStencil() || source == dest) return refuse();
  RECT from = pSourceRect ? *pSourceRect : wholeRect(*source);
  RECT to = pDestRect ? *pDestRect : wholeRect(*dest);
  if (!insideSurface(from, *source) || !insideSurface(to, *dest)) return refuse();
  claimContext();
  blitter_.copy(*source, from, *dest, to, Filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
  return D3D_OK;
}

HRESULT GlDevice::GetViewport(D3DVIEWPORT9* pViewport) {
  if (!pViewport) return refuse();
  *pViewport = viewport_;
  return D3D_OK;
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
  if (params_.BackBufferFormat != D3DFMT_A8R8G8B8)
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
  renderTarget_->attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
  if (depthStencil_) {
    bool stencil = hasStencil(depthStencil_->desc().Format);
    depthStencil_->attach(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT);
  }
  targetsComplete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  return targetsComplete_;
}

void GlDevice::bindStream() {
  if (!streamChanged_) return;
  streamChanged_ = false;
  glBindBuffer(GL_ARRAY_BUFFER, stream_->name());
  unsigned enabled = 0;
  for (const GlVertexDeclaration::Attribute& a : declaration_->attributes()) {
    const auto offset = static_cast<std::uintptr_t>(streamOffset_) + a.offset;
    glVertexAttribPointer(a.location, a.format.size, a.format.type, a.format.normalized, GLsizei(streamStride_),
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

HRESULT GlDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes,
                                  UINT Stride) {
  auto* buffer = glObject<GlVertexBuffer>(pStreamData);
  if (StreamNumber != 0 || (pStreamData && !buffer)) return refuse();
  stream_ = share(buffer);
  streamOffset_ = OffsetInBytes;
  streamStride_ = Stride;
  streamChanged_ = true;
  return D3D_OK;
}

HRESULT GlDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) {
  auto* declaration = glObject<GlVertexDeclaration>(pDecl);
  if (pDecl && !declaration) return refuse();
  declaration_ = share(declaration);
  streamChanged_ = true;
  return D3D_OK;
}

HRESULT GlDevice::SetIndices(IDirect3DIndexBuffer9* pIndexData) {
  auto* buffer = glObject<GlIndexBuffer>(pIndexData);
  if (pIndexData && !buffer) return refuse();
  indices_ = share(buffer);
  return D3D_OK;
}

// A draw is valid inside a scene with unlocked buffers and a declaration bound, reading indices
// inside the index buffer. Unlike the trace device, the indices themselves are not scanned.
HRESULT GlDevice::checkDraw(INT base, UINT numVertices, UINT startIndex, UINT primCount) const {
  if (!inScene_ || !stream_ || !indices_ || !declaration_ || streamStride_ == 0) return D3DERR_INVALIDCALL;
  if (stream_->locked() || indices_->locked() || base < 0 || numVertices == 0 || primCount == 0)
    return D3DERR_INVALIDCALL;
  UINT indexSize = indices_->desc().Format == D3DFMT_INDEX16 ? 2 : 4;
  std::uint64_t lastIndex = std::uint64_t(startIndex) + std::uint64_t(primCount) * 3;
  if (lastIndex * indexSize > indices_->desc().Size) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE Type, INT BaseVertexIndex, UINT, UINT NumVertices,
                                       UINT startIndex, UINT primCount) {
  traceDraw(stream_.get(), BaseVertexIndex, NumVertices, startIndex, primCount);
  if (Type != D3DPT_TRIANGLELIST || FAILED(checkDraw(BaseVertexIndex, NumVertices, startIndex, primCount)))
    return refuse();
  // Without a pass program (an effect that failed to build) there is nothing to draw with.
  if (!compiler_.hasCurrentProgram()) return D3D_OK;
  claimContext();
  if (!bindTargets()) return refuse();
  bindStream();
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_->name());
  bool wide = indices_->desc().Format == D3DFMT_INDEX32;
  const auto offset = static_cast<std::uintptr_t>(startIndex) * (wide ? 4 : 2);
  glDrawElementsBaseVertex(GL_TRIANGLES, GLsizei(primCount * 3), wide ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                           reinterpret_cast<const void*>(offset), BaseVertexIndex);
  return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) {
  traceState(State, Value);
  renderStates_[State] = Value;
  claimContext();
  applyRenderState(State, Value);
  return D3D_OK;
}

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) {
  if (!pValue) return refuse();
  auto it = renderStates_.find(State);
  *pValue = it == renderStates_.end() ? 0 : it->second;
  return D3D_OK;
}

// A value the system never sets leaves the GL state as it was.
void GlDevice::applyRenderState(D3DRENDERSTATETYPE state, DWORD value) {
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
      GLenum source = blendFactorOf(renderStates_[D3DRS_SRCBLEND]);
      GLenum dest = blendFactorOf(renderStates_[D3DRS_DESTBLEND]);
      if (source && dest) glBlendFunc(source, dest);
      break;
    }
  }
}

}  // namespace d3d9::gl
