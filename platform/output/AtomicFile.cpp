// The .part writer and the registry of .part names that SIGINT and SIGTERM remove.
#include "platform/output/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <utility>

namespace output {
namespace {

// Fixed slots, so a signal handler can walk them without allocating or locking.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kMaxPath = 4096;
struct PartSlot {
  std::atomic<bool> used{false};
  char path[kMaxPath] = {};
};
std::array<PartSlot, kSlots> parts;

void onEndingSignal(int signal) {
  removeParts();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

PartFile::PartFile(const std::string& path) {
  if (path.size() >= kMaxPath) return;
  for (std::size_t i = 0; i < kSlots; ++i) {
    if (parts[i].used.load()) continue;
    std::memcpy(parts[i].path, path.c_str(), path.size() + 1);
    parts[i].used.store(true);
    slot_ = int(i);
    return;
  }
}

PartFile::~PartFile() {
  if (slot_ >= 0) parts[std::size_t(slot_)].used.store(false);
}

void removeParts() {
  for (PartSlot& slot : parts) {
    if (slot.used.load()) ::unlink(slot.path);
  }
}

PartCleanupScope::PartCleanupScope(bool interruptToo)
    : interruptToo_(interruptToo), previousTerm_(std::signal(SIGTERM, onEndingSignal)) {
  if (interruptToo_) previousInt_ = std::signal(SIGINT, onEndingSignal);
}

PartCleanupScope::~PartCleanupScope() {
  std::signal(SIGTERM, previousTerm_);
  if (interruptToo_) std::signal(SIGINT, previousInt_);
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  struct stat info {};
  inPlace_ = ::stat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
  part_ = inPlace_ ? path_ : path_ + ".part";
  if (!inPlace_) guard_ = std::make_unique<PartFile>(part_);
  file_ = std::fopen(part_.c_str(), "wb");
  if (!file_) fail(errno);
}

AtomicFile::~AtomicFile() { abandon(); }

void AtomicFile::fail(int code) {
  if (error_.empty()) error_ = path_ + ": " + std::strerror(code ? code : EIO);
  abandon();
}

void AtomicFile::abandon() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!inPlace_ && guard_) ::unlink(part_.c_str());
  guard_.reset();
}

bool AtomicFile::write(const void* data, std::size_t bytes) {
  if (!ok()) return false;
  errno = 0;
  if (std::fwrite(data, 1, bytes, file_) != bytes) fail(errno);
  return ok();
}

bool AtomicFile::commit() {
  if (!ok()) return false;
  errno = 0;
  // The bytes reach the disk before the name does, so a crash leaves the old file or the new one.
  bool done = std::fflush(file_) == 0 && (inPlace_ || ::fsync(fileno(file_)) == 0);
  int code = errno;
  done = std::fclose(std::exchange(file_, nullptr)) == 0 && done;
  if (code == 0) code = errno;
  done = done && (inPlace_ || std::rename(part_.c_str(), path_.c_str()) == 0);
  if (!done) {
    fail(code ? code : errno);
    return false;
  }
  guard_.reset();
  return true;
}

bool writeWholeFile(const std::string& path, std::string_view bytes, std::string& error) {
  AtomicFile file(path);
  if (file.write(bytes) && file.commit()) return true;
  error = file.error();
  return false;
}

}  // namespace output
