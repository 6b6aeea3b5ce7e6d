// Owning wrappers for kernel handles, so that every early return closes them.
#pragma once
#include <windows.h>

// A handle closed with CloseHandle (processes, tokens, snapshots, files).
// Both nullptr and INVALID_HANDLE_VALUE mean "none".
class TWinHandle {
public:
  TWinHandle() = default;
  explicit TWinHandle(HANDLE h) : h_(h) {}
  ~TWinHandle() { Reset(); }
  TWinHandle(const TWinHandle&) = delete;
  TWinHandle& operator=(const TWinHandle&) = delete;

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h = nullptr) {
    if (Valid()) CloseHandle(h_);
    h_ = h;
  }
  // For functions that return the handle through an out parameter.
  HANDLE* Receive() {
    Reset();
    return &h_;
  }

private:
  HANDLE h_ = nullptr;
};

// A file search handle, closed with FindClose.
class TFindHandle {
public:
  explicit TFindHandle(HANDLE h) : h_(h) {}
  ~TFindHandle() {
    if (Valid()) FindClose(h_);
  }
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE h_;
};
