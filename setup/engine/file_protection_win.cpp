#include <windows.h>

#include "setup/engine/file_protection.h"

namespace {
typedef BOOL(WINAPI* SfcIsFileProtectedFn)(HANDLE, LPCWSTR);

SfcIsFileProtectedFn LookUp() {
  // By full path: a SFC.DLL beside setup must not be loaded instead.
  char path[MAX_PATH];
  const UINT n = GetSystemDirectoryA(path, MAX_PATH - 9);
  if (n == 0 || n >= MAX_PATH - 9) return nullptr;
  std::string dll(path, n);
  if (dll.back() != '\\') dll += '\\';
  dll += "SFC.DLL";
  HMODULE module = LoadLibraryA(dll.c_str());  // kept for the whole run
  if (!module) return nullptr;
  return reinterpret_cast<SfcIsFileProtectedFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "SfcIsFileProtected")));
}
}  // namespace

bool IsFileProtected(const std::string& path) {
  static const SfcIsFileProtectedFn sfc = LookUp();
  if (!sfc || path.empty()) return false;
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return false;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], n);
  return sfc(nullptr, wide.c_str()) != FALSE;
}
