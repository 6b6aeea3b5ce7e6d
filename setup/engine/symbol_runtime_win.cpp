#include <windows.h>

#include "setup/engine/symbol_runtime.h"

namespace {

// Older systems lack userenv.dll or these functions: looked up by name.
typedef BOOL(WINAPI* FolderFunction)(LPSTR, LPDWORD);
typedef BOOL(WINAPI* UserFolderFunction)(HANDLE, LPSTR, LPDWORD);

class Library {
 public:
  explicit Library(const char* name) : module_(LoadLibraryA(name)) {}
  ~Library() {
    if (module_) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  FARPROC Find(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

 private:
  HMODULE module_;
};

class Handle {
 public:
  Handle() = default;
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE* Out() { return &h_; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_ = nullptr;
};

bool CallFolder(FARPROC fn, std::string* out) {
  if (!fn) return false;
  char buf[MAX_PATH + 1] = "";
  DWORD size = sizeof(buf);
  if (!reinterpret_cast<FolderFunction>(reinterpret_cast<void*>(fn))(buf, &size)) return false;
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

  Library userenv("userenv.dll");
  f->hasProfiles = CallFolder(userenv.Find("GetProfilesDirectoryA"), &f->profiles);
  f->hasAllUsersProfile =
      CallFolder(userenv.Find("GetAllUsersProfileDirectoryA"), &f->allUsersProfile);
  FARPROC user = userenv.Find("GetUserProfileDirectoryA");
  Handle token;
  f->hasUserProfile = false;
  if (user && OpenProcessToken(GetCurrentProcess(), 0x20008, token.Out())) {
    char path[MAX_PATH + 1] = "";
    DWORD size = sizeof(path);
    if (reinterpret_cast<UserFolderFunction>(reinterpret_cast<void*>(user))(token.Get(), path,
                                                                            &size)) {
      f->userProfile = path;
      f->hasUserProfile = true;
    }
  }
  return true;
}
