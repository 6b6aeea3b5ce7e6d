#include <windows.h>

#include "setup/engine/file_protection.h"
#include "setup/engine/win_handles.h"
#include "setup/engine/win_paths.h"

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
  const std::wstring wide = WidePath(path);
  if (wide.empty()) return false;
  return sfc(nullptr, wide.c_str()) != FALSE;
}
