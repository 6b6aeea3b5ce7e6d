#include <windows.h>

#include "setup/app/system_info.h"
#include "setup/engine/replace_at_restart.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "setup/engine/win_paths.h"

namespace {

// Once WININIT.INI had to be used, later calls go straight to it.
bool useWininit = false;

bool ClearStickyAttributes(const char* path) {
  const DWORD a = GetFileAttributesA(path);
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  const DWORD sticky = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (!(a & sticky)) return true;
  const DWORD rest = a & ~sticky;
  return SetFileAttributesA(path, rest ? rest : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool ScheduleInWininit(const char* existing, const char* newPath) {
  const std::string from = ShortPathName(existing);
  // The new name may not exist yet; its folder does.
  std::string to = "NUL";
  if (newPath) {
    to = ShortPathName(newPath);
    if (to.empty()) return false;
  }
  if (from.empty()) return false;
  char windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(windows, sizeof(windows));
  if (n == 0 || n >= sizeof(windows)) return false;
  std::string ini(windows, n);
  if (ini.back() != '\\') ini += '\\';
  ini += "WININIT.INI";
  SetupScript wininit;
  LoadScriptFile(wininit, ini.c_str());  // a missing file is an empty one
  AddWininitRename(wininit, to, from);
  return SaveScriptFile(wininit, ini.c_str());
}

}  // namespace

bool ReplaceAtRestart(const char* existing, const char* newPath) {
  ClearStickyAttributes(newPath ? newPath : existing);
  // Windows 9x has no delayed moves; asking it only gives
  // ERROR_CALL_NOT_IMPLEMENTED, so the family decides directly.
  if (!useWininit && IsNtFamily()) {
    if (MoveFileExA(existing, newPath, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING))
      return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  }
  if (!ScheduleInWininit(existing, newPath)) return false;
  useWininit = true;
  return true;
}
