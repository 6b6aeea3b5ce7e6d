// Owners of the handles setup opens (kernel objects, files, searches,
// registry keys, DLLs, COM pointers), so that every early return closes
// them; and the one way to load a system DLL. Windows builds only.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

template <typename T, typename Traits>
class ScopedOf {
 public:
  ScopedOf() = default;
  explicit ScopedOf(T h) : h_(h) {}
  ScopedOf(const ScopedOf&) = delete;
  ScopedOf& operator=(const ScopedOf&) = delete;
  ~ScopedOf() { reset(); }
  void reset(T h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }
  T get() const { return h_; }
  T* put() { return reset(), &h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }

 private:
  T h_ = Traits::Invalid();
};

struct HandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct KeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY k) { RegCloseKey(k); }
};
struct ModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE m) { FreeLibrary(m); }
};

using ScopedHandle = ScopedOf<HANDLE, HandleTraits>;
using ScopedFile = ScopedOf<HANDLE, FileTraits>;
using ScopedFind = ScopedOf<HANDLE, FindTraits>;
using ScopedKey = ScopedOf<HKEY, KeyTraits>;
using ScopedModule = ScopedOf<HMODULE, ModuleTraits>;

// A function of a loaded DLL, or none.
template <typename F>
F FindProc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

// Loads a DLL of Windows itself from the system folder by its full path,
// never by bare name: the search would try setup's own folder (often the
// download folder) first, where a planted DLL of that name would run.
inline HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH];
  const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::string path(folder, n);
  if (path.back() != '\\') path += '\\';
  path += name;
  return path.size() < MAX_PATH ? LoadLibraryA(path.c_str()) : nullptr;
}

// A COM interface pointer released with its owner.
template <typename I>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  I* operator->() const { return p_; }
  I* get() const { return p_; }
  void** put() {
    if (p_) p_->Release();
    p_ = nullptr;
    return reinterpret_cast<void**>(&p_);
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  I* p_ = nullptr;
};

// COM for the calling thread while it lives (balanced only when it began).
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};
