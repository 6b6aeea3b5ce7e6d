#include <windows.h>

#include "setup/engine/file_protection.h"
#include "setup/engine/win_handles.h"

namespace {
typedef BOOL(WINAPI* SfcIsFileProtectedFn)(HANDLE, LPCWSTR);

SfcIsFileProtectedFn LookUp() {
  // Kept for the whole run.
  return FindProc<SfcIsFileProtectedFn>(LoadSystemLibrary("SFC.DLL"), "SfcIsFileProtected");
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
