// Surface copies and resolves.
#include "platform/d3d9/gl/GlBlitter.h"

namespace d3d9::gl {

void ColourBuffer::ensure(UINT width, UINT height) {
  if (framebuffer_ && width == width_ && height == height_) return;
  framebuffer_ = FramebufferName::make();
  colour_ = RenderbufferName::make();
  glBindRenderbuffer(GL_RENDERBUFFER, colour_.get());
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width), GLsizei(height));
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_.get());
  glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_.get());
  width_ = width;
  height_ = height;
}

GlBlitter::GlBlitter() : read_(FramebufferName::make()), draw_(FramebufferName::make()) {}

void GlBlitter::bindSource(const GlSurface& source) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, read_.get());
  source.attach(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  if (!source.multisampled()) return;
  snapshot(source, resolve_);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, resolve_.framebuffer());
}

void GlBlitter::copy(const GlSurface& source, const RECT& from, const GlSurface& dest, const RECT& to, GLenum filter) {
  bool sameRect = from.left == to.left && from.top == to.top && from.right == to.right && from.bottom == to.bottom;
  if (source.multisampled() && sameRect) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, read_.get());
    source.attach(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  } else {
    bindSource(source);
  }
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draw_.get());
  dest.attach(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  glBlitFramebuffer(from.left, from.top, from.right, from.bottom, to.left, to.top, to.right, to.bottom,
                    GL_COLOR_BUFFER_BIT, filter);
}

void GlBlitter::snapshot(const GlSurface& source, ColourBuffer& target) {
  UINT width = source.desc().Width, height = source.desc().Height;
  target.ensure(width, height);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, read_.get());
  source.attach(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target.framebuffer());
  glBlitFramebuffer(0, 0, GLint(width), GLint(height), 0, 0, GLint(width), GLint(height), GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
}

void GlBlitter::toWindow(const GlSurface& source, int width, int height) {
  bindSource(source);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  GLint sourceWidth = GLint(source.desc().Width), sourceHeight = GLint(source.desc().Height);
  GLenum filter = (sourceWidth == width && sourceHeight == height) ? GL_NEAREST : GL_LINEAR;
  // The default framebuffer's row 0 is the bottom of the window: flip.
  glBlitFramebuffer(0, 0, sourceWidth, sourceHeight, 0, height, width, 0, GL_COLOR_BUFFER_BIT, filter);
}

}  // namespace d3d9::gl
