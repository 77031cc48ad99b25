#pragma once
// Owning types for handles closed with a close call (kernel objects: events, mutexes, processes,
// threads, files, snapshots, tokens; GDI objects in scoped_gdi.h): each closes what it holds when
// it goes out of scope. Move-only; `get()` lends the handle, `release()` hands it over, `close()`
// closes it now and tells whether the system agreed (a file's last writes can fail there).
#include <windows.h>

#include <utility>

// Traits: `Handle`, the type; `Holds(h)`, whether h is a handle to close; `Close(h)`, true on success.
template <typename Traits>
class ScopedHandleOf {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandleOf() = default;
  explicit ScopedHandleOf(Handle handle) : handle_(handle) {}
  ScopedHandleOf(ScopedHandleOf&& other) noexcept : handle_(other.release()) {}
  ScopedHandleOf& operator=(ScopedHandleOf&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ScopedHandleOf(const ScopedHandleOf&) = delete;
  ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
  ~ScopedHandleOf() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Holds(handle_); }
  Handle release() { return std::exchange(handle_, Handle()); }
  // Closes the handle held (unless it is the one given) and holds the one given.
  void reset(Handle handle = Handle()) {
    if (handle != handle_) close();
    handle_ = handle;
  }
  // Closes the handle held now; true when there was none or the system closed it.
  bool close() {
    const Handle handle = release();
    return !Traits::Holds(handle) || Traits::Close(handle);
  }

 private:
  Handle handle_ = Handle();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  // Some calls fail with null, others (CreateFile, CreateToolhelp32Snapshot) with
  // INVALID_HANDLE_VALUE: neither is held. (GetCurrentProcess's pseudo handle has that value too,
  // and needs no closing.)
  static bool Holds(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != FALSE; }
};

// A kernel object's handle, closed with CloseHandle.
using ScopedHandle = ScopedHandleOf<KernelHandleTraits>;
