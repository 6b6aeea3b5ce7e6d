// Owners of the kernel, search and icon handles the uninstall page opens, so
// that every early return closes them.
#pragma once
#include <windows.h>

template <typename Traits>
class ScopedHandleOf {
public:
  using Handle = typename Traits::Handle;
  ScopedHandleOf() = default;
  explicit ScopedHandleOf(Handle h) : h_(h) {}
  ScopedHandleOf(const ScopedHandleOf&) = delete;
  ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
  ~ScopedHandleOf() { reset(); }
  void reset(Handle h = nullptr) {
    if (Traits::Valid(h_)) Traits::Close(h_);
    h_ = h;
  }
  Handle get() const { return h_; }
  explicit operator bool() const { return Traits::Valid(h_); }

private:
  Handle h_ = nullptr;
};

// Processes, threads, snapshots: both nullptr and INVALID_HANDLE_VALUE mean none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static bool Valid(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct IconHandleTraits {
  using Handle = HICON;
  static bool Valid(HICON h) { return h != nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};

using ScopedHandle = ScopedHandleOf<KernelHandleTraits>;
using ScopedFind = ScopedHandleOf<FindHandleTraits>;
using ScopedIcon = ScopedHandleOf<IconHandleTraits>;
