// Path mapping of the file layer.
#include "platform/win32/FilePath.h"

#include <algorithm>

namespace win32 {

std::string hostPath(std::string_view path) {
  std::string mapped(path);
  std::replace(mapped.begin(), mapped.end(), '\\', '/');
  return mapped;
}

std::FILE* openFile(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  return std::fopen(hostPath(path).c_str(), mode);
}

}  // namespace win32
