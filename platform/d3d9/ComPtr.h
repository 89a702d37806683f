// A small owning pointer for reference-counted platform objects: it holds one reference and
// releases it when it goes, so system code never leaks a device object.
#pragma once

#include <utility>

namespace d3d9 {

template <typename T>
class ComPtr {
public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (what a Create or Get call returned).
  explicit ComPtr(T* adopted) : ptr_(adopted) {}
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  // Releases what is held and gives the address to hand to a Create or Get call.
  T** put() {
    reset();
    return &ptr_;
  }
  // Hands the reference to the caller.
  T* detach() { return std::exchange(ptr_, nullptr); }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

private:
  T* ptr_ = nullptr;
};

}  // namespace d3d9
