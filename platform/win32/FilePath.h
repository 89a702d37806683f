// The system names its files with Windows separators ("RV07\syncdata\fft.txt"); these helpers open
// them on this platform, where the separator is '/'.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace win32 {

// The path with every '\' turned into '/'.
std::string hostPath(std::string_view path);

// fopen of the mapped path.
std::FILE* openFile(const char* path, const char* mode);

}  // namespace win32
