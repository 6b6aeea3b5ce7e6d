#include <windows.h>

#include "setup/engine/symbol_runtime.h"
#include "setup/engine/win_handles.h"

namespace {

// Older systems lack userenv.dll or these functions: looked up by name.
typedef BOOL(WINAPI* FolderFunction)(LPSTR, LPDWORD);
typedef BOOL(WINAPI* UserFolderFunction)(HANDLE, LPSTR, LPDWORD);

bool CallFolder(FolderFunction fn, std::string* out) {
  if (!fn) return false;
  char buf[MAX_PATH + 1] = "";
  DWORD size = sizeof(buf);
  if (!fn(buf, &size)) return false;
  *out = buf;
  return true;
}

bool ReadFolder(UINT (WINAPI* get)(LPSTR, UINT), std::string* out) {
  char buf[MAX_PATH + 1] = "";
  UINT n = get(buf, sizeof(buf));
  if (n == 0 || n >= sizeof(buf)) return false;
  *out = buf;
  return true;
}

}  // namespace

bool ReadRuntimeFolders(RuntimeFolders* f) {
  char buf[MAX_PATH + 1] = "";
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
  if (n == 0 || n >= sizeof(buf)) return false;
  f->modulePath = buf;
  if (!ReadFolder(GetWindowsDirectoryA, &f->winDir)) return false;
  if (!ReadFolder(GetSystemDirectoryA, &f->sysDir)) return false;
  n = GetTempPathA(sizeof(buf), buf);
  if (n == 0 || n >= sizeof(buf)) return false;
  f->tempPath = buf;

  ScopedModule userenv(LoadSystemLibrary("userenv.dll"));
  f->hasProfiles =
      CallFolder(FindProc<FolderFunction>(userenv.get(), "GetProfilesDirectoryA"), &f->profiles);
  f->hasAllUsersProfile = CallFolder(
      FindProc<FolderFunction>(userenv.get(), "GetAllUsersProfileDirectoryA"), &f->allUsersProfile);
  const auto user = FindProc<UserFolderFunction>(userenv.get(), "GetUserProfileDirectoryA");
  ScopedHandle token;
  f->hasUserProfile = false;
  if (user && OpenProcessToken(GetCurrentProcess(), TOKEN_READ, token.put())) {
    char path[MAX_PATH + 1] = "";
    DWORD size = sizeof(path);
    if (user(token.get(), path, &size)) {
      f->userProfile = path;
      f->hasUserProfile = true;
    }
  }
  return true;
}
