// Little-endian binary files of the asset formats. The reader knows how much of its file is left,
// so a count read from the file is checked against what the file can still hold before anything
// is allocated; the writer serves the content generator and the tests. Each owns its FILE.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace assets {

static_assert(std::endian::native == std::endian::little, "asset files are read as they lie in memory");

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class BinaryReader {
public:
  // Opens the file for binary reading ('\' in the path is a separator); opened() says whether it could.
  explicit BinaryReader(const char* path);

  bool opened() const { return file_ != nullptr; }
  // Reads n bytes. False when the file holds fewer; then every later read fails too.
  bool bytes(void* out, std::uint64_t n);
  template <typename T>
  bool value(T& out) {
    return bytes(&out, sizeof out);
  }
  // Whether `count` records of `size` bytes fit in what is left of the file.
  bool holds(std::uint64_t count, std::uint64_t size) const;
  std::uint64_t remaining() const { return remaining_; }

private:
  FilePtr file_;
  std::uint64_t remaining_ = 0;
  bool failed_ = false;
};

class BinaryWriter {
public:
  // Creates or truncates the file ('\' in the path is a separator).
  explicit BinaryWriter(const char* path);

  bool opened() const { return file_ != nullptr; }
  void bytes(const void* data, std::uint64_t n);
  template <typename T>
  void value(const T& v) {
    bytes(&v, sizeof v);
  }
  // Closes the file; true when it was opened and every write went through.
  bool finish();

private:
  FilePtr file_;
  bool failed_ = false;
};

}  // namespace assets
