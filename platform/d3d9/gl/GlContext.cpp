// Feature checks shared by both context providers.
#include "platform/d3d9/gl/GlContext.h"

#include <epoxy/gl.h>

namespace d3d9::gl {

bool hasRequiredFeatures(std::string& error) {
  int version = epoxy_gl_version();
  if (version >= 45 || (version >= 33 && epoxy_has_gl_extension("GL_ARB_clip_control"))) return true;
  const char* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  error = std::string("OpenGL 4.5, or 3.3 with ARB_clip_control, is needed; the driver gives ") +
          (text ? text : "no version");
  return false;
}

int queryMaxSamples() {
  GLint samples = 0;
  glGetIntegerv(GL_MAX_SAMPLES, &samples);
  return samples;
}

}  // namespace d3d9::gl
