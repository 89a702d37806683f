// Which texture files the loader hands to stb_image, shared with the texture fuzz target, which
// reads image headers with the same decoder before loading.
#pragma once

#include <string_view>

namespace d3dx9 {

// True for a PNG, the one format the loader decodes with stb_image (JPEGs go to libjpeg-turbo,
// everything else is refused before any decoder sees it).
bool stbDecodes(std::string_view bytes);

}  // namespace d3dx9
