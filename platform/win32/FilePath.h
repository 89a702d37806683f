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

// Reads a whole file of at most maxBytes into `bytes`. False when it cannot be opened or read, or
// is larger than maxBytes (then nothing is allocated for it).
bool readWholeFile(const char* path, std::string& bytes, std::size_t maxBytes);

}  // namespace win32
