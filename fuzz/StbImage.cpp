// The stb_image decoder compiled into the texture fuzz target, so its code is instrumented for
// coverage and the sanitizers. The same header the system library was built from; the target's
// own definitions take precedence over the shared libstb at link time.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
