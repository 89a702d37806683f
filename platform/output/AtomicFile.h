// Output files that are whole or absent: the bytes go to "<name>.part" beside the target, every
// write is checked, and only a file that was written, flushed and closed without error is renamed
// into place. The object owns its .part until commit; main thread only.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace output {

// The name of a file being written that must not survive the process: while a PartFile lives and
// a PartCleanupScope is in force, SIGTERM (and SIGINT) remove it before the process ends. Eight
// names at most at once, each under 4096 bytes; a name past that is not registered.
class PartFile {
public:
  explicit PartFile(const std::string& path);
  ~PartFile();
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

private:
  int slot_ = -1;
};

class AtomicFile {
public:
  // Opens the .part of `path`. A target that exists and is not a regular file (/dev/null,
  // /dev/full, a pipe) is written in place, with every write still checked.
  explicit AtomicFile(std::string path);
  // Removes the .part unless commit succeeded.
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False once anything failed; error() then says what and why.
  bool ok() const { return file_ != nullptr && error_.empty(); }
  bool write(const void* data, std::size_t bytes);
  bool write(std::string_view text) { return write(text.data(), text.size()); }
  // Flushes, closes and renames into place; false (and the .part removed) on any failure.
  bool commit();
  // Gives up: removes the .part, leaves the target as it was.
  void abandon();

  // "PATH: reason" (strerror of the failed call), empty while all is well.
  const std::string& error() const { return error_; }

private:
  void fail(int code);

  std::string path_;
  std::unique_ptr<PartFile> guard_;
  std::string part_;
  std::FILE* file_ = nullptr;
  bool inPlace_ = false;
  std::string error_;
};

// Writes `bytes` to `path` through an AtomicFile; on failure returns false with error() text in `error`.
bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error);

// While it lives, SIGTERM (and SIGINT unless `interruptToo` is false) removes every living
// PartFile and then ends the process as the signal would; the previous handlers come back after.
class PartCleanupScope {
public:
  explicit PartCleanupScope(bool interruptToo = true);
  ~PartCleanupScope();
  PartCleanupScope(const PartCleanupScope&) = delete;
  PartCleanupScope& operator=(const PartCleanupScope&) = delete;

private:
  bool interruptToo_;
  void (*previousTerm_)(int);
  void (*previousInt_)(int) = nullptr;
};

// Removes every living PartFile now; safe in a signal handler.
void removeParts();

}  // namespace output
