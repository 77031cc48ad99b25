#pragma once
// A kernel handle closed when it goes out of scope, for the hook library and the companion. They
// link no C++ runtime (the library runs inside the shell), so this stays the smallest shape: no
// copies, no moves, nothing thrown, no standard library.
#include <windows.h>

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (*this) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE get() const { return handle_; }
  // Null on failure for most calls, INVALID_HANDLE_VALUE for a snapshot: neither is held.
  explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  // Hands the handle over to the caller, who closes it.
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  HANDLE handle_;
};
