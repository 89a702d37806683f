// The shape all three asset registries share: parallel arrays of keys and objects, filled once by
// appending, searched linearly (first match in load order wins, "No Match" on a miss), and the
// walk of the null-ended path/key lists they are filled from. The registry owns its objects and
// its own copies of the keys; it releases the objects in load order. Main thread only.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/MessageBox.h"

namespace assets {

constexpr const char* kNoMatchCaption = "No Match";

// Walks a list path, key, path, key, ..., null (null in a path position ends it cleanly) and calls
// loadPair(path, key) for each pair, stopping early when it returns false. Returns false when a
// path has no key (the list error), which the caller reports; the pairs before it were loaded.
template <typename LoadPair>
bool walkPairList(const char* const* list, LoadPair&& loadPair) {
  if (!list) return true;
  for (std::size_t i = 0; list[i]; ++i) {
    if (i % 2 != 0) continue;
    if (!list[i + 1]) return false;
    if (!loadPair(list[i], list[i + 1])) return true;
  }
  return true;
}

template <typename Object>
class Registry {
public:
  Registry() = default;
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;
  ~Registry() {
    for (Object& object : objects_) object = Object();
  }

  // Keys are compared byte for byte up to their terminating zero; a duplicate key is kept but
  // never found.
  void append(const char* key, Object object) {
    keys_.emplace_back(key ? key : "");
    objects_.push_back(std::move(object));
  }

  // The object of the first entry with this key; null and a "No Match" box (text: the key) when
  // there is none.
  Object* find(const char* key) {
    if (key) {
      for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key) return &objects_[i];
    }
    MessageBoxA(nullptr, key ? key : "", kNoMatchCaption, MB_OK);
    return nullptr;
  }

  std::size_t size() const { return keys_.size(); }
  const std::string& keyAt(std::size_t i) const { return keys_[i]; }
  Object& objectAt(std::size_t i) { return objects_[i]; }

private:
  std::vector<std::string> keys_;
  std::vector<Object> objects_;
};

}  // namespace assets
