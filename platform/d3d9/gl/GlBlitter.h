// Surface copies with glBlitFramebuffer for StretchRect and Present: no flip between framebuffer
// objects (all top row first), a flip onto the window, and a 1:1 resolve of a multisampled source
// before any scaled or flipped copy (GL resolves only 1:1). The device owns one blitter.
#pragma once

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/gl/GlObjects.h"
#include "platform/d3d9/gl/GlResources.h"

namespace d3d9::gl {

// A single-sample RGBA8 colour buffer and its framebuffer, resized on demand.
class ColourBuffer {
public:
  void ensure(UINT width, UINT height);
  GLuint framebuffer() const { return framebuffer_.get(); }
  UINT width() const { return width_; }
  UINT height() const { return height_; }

private:
  FramebufferName framebuffer_;
  RenderbufferName colour_;
  UINT width_ = 0;
  UINT height_ = 0;
};

class GlBlitter {
public:
  GlBlitter();

  // Copies `from` of the source onto `to` of the destination (both colour surfaces).
  void copy(const GlSurface& source, const RECT& from, const GlSurface& dest, const RECT& to, GLenum filter);
  // Copies the whole source 1:1 into `target` (made its size), resolving it when multisampled.
  void snapshot(const GlSurface& source, ColourBuffer& target);
  // Copies the whole source onto the window's default framebuffer, flipped and scaled to its size.
  void toWindow(const GlSurface& source, int width, int height);

private:
  // Binds the source for reading, resolved into resolve_ first when it is multisampled.
  void bindSource(const GlSurface& source);

  FramebufferName read_;
  FramebufferName draw_;
  ColourBuffer resolve_;
};

}  // namespace d3d9::gl
