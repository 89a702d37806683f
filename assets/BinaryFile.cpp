// Binary reader and writer over the file layer's paths.
#include "assets/BinaryFile.h"

#include "platform/win32/FilePath.h"

namespace assets {

BinaryReader::BinaryReader(const char* path) : file_(win32::openFile(path, "rb")) {
  if (!file_) return;
  // The size bounds every count; a file whose size cannot be told holds nothing.
  if (std::fseek(file_.get(), 0, SEEK_END) == 0) {
    long size = std::ftell(file_.get());
    if (size > 0) remaining_ = static_cast<std::uint64_t>(size);
  }
  if (std::fseek(file_.get(), 0, SEEK_SET) != 0) remaining_ = 0;
}

bool BinaryReader::bytes(void* out, std::uint64_t n) {
  if (failed_ || !file_ || n > remaining_ || std::fread(out, 1, n, file_.get()) != n) {
    failed_ = true;
    return false;
  }
  remaining_ -= n;
  return true;
}

bool BinaryReader::holds(std::uint64_t count, std::uint64_t size) const {
  if (failed_) return false;
  return size == 0 || count <= remaining_ / size;
}

BinaryWriter::BinaryWriter(const char* path) : file_(win32::openFile(path, "wb")) {}

void BinaryWriter::bytes(const void* data, std::uint64_t n) {
  if (!file_ || failed_) return;
  if (n != 0 && std::fwrite(data, 1, n, file_.get()) != n) failed_ = true;
}

bool BinaryWriter::finish() {
  if (!file_) return false;
  bool ok = !failed_ && std::fflush(file_.get()) == 0;
  return std::fclose(file_.release()) == 0 && ok;
}

}  // namespace assets
