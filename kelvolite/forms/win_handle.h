// Owning wrappers for kernel handles, so that every early return closes them.
#pragma once
#include <windows.h>
#include <objbase.h>

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

// An open registry key, closed with RegCloseKey.
class TRegKey {
public:
  TRegKey() = default;
  ~TRegKey() { Reset(); }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;

  HKEY Get() const { return h_; }
  bool Valid() const { return h_ != nullptr; }
  void Reset() {
    if (h_) RegCloseKey(h_);
    h_ = nullptr;
  }
  HKEY* Receive() {
    Reset();
    return &h_;
  }

private:
  HKEY h_ = nullptr;
};

// A COM interface pointer, released when it goes.
template <typename T>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() {
    if (p_) p_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;

  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  void** Receive() {
    if (p_) p_->Release();
    p_ = nullptr;
    return reinterpret_cast<void**>(&p_);
  }

private:
  T* p_ = nullptr;
};

// COM for one call, undone only when this call was the one to start it.
class TComScope {
public:
  TComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~TComScope() {
    if (ok_) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  bool ok_;
};
