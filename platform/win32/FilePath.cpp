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

bool readWholeFile(const char* path, std::string& bytes, std::size_t maxBytes) {
  bytes.clear();
  std::FILE* file = openFile(path, "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && static_cast<unsigned long>(size) <= maxBytes && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  if (!ok) bytes.clear();
  return ok;
}

}  // namespace win32
