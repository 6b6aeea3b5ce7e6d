#include <windows.h>

#include "setup/app/extension_system.h"
#include "setup/app/system_info.h"
#include "setup/app/version_resource.h"

namespace extsys {

bool Module::Load(const std::string& path) {
  Reset();
  // The DLL is named by its full path: the search path never picks
  // another one, and a missing file gives no error box.
  const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  handle_ = LoadLibraryA(path.c_str());
  SetErrorMode(old);
  return handle_ != nullptr;
}

void Module::Reset() {
  if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

void* Module::Find(const char* name) const {
  if (!handle_) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

bool IsNtFamily() { return ::IsNtFamily(); }
bool IsAdministrator() { return UserIsAdministrator(); }
uint16_t UserDefaultLanguage() { return uint16_t(GetUserDefaultLangID()); }

std::string OwnVersionString(const char* name) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return {};
  VersionResource resource;
  if (!resource.Load(path)) return {};
  return resource.String(name);
}

}  // namespace extsys
