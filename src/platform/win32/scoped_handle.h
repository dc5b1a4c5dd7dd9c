// A Win32 handle closed when it goes out of scope.
#ifndef PELLMAR_PLATFORM_WIN32_SCOPED_HANDLE_H_
#define PELLMAR_PLATFORM_WIN32_SCOPED_HANDLE_H_

#include "platform/win32/win32_api.h"

namespace pellmar {

class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Release();
    }
    return *this;
  }

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  /// Closes the handle; false when closing reported a failure.
  bool Reset() {
    const bool closed = !valid() || ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_SCOPED_HANDLE_H_
