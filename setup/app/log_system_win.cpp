#include <windows.h>

#include "setup/app/log_system.h"

namespace logsys {

std::string ModulePath() {
  char path[MAX_PATH + 1] = "";
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return path;
}

std::string LogFolder() {
  char folder[MAX_PATH + 2] = "";
  DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH) {
    const UINT w = GetWindowsDirectoryA(folder, MAX_PATH);
    if (w == 0 || w >= MAX_PATH) return std::string();
    n = w;
  }
  std::string result(folder, n);
  if (result.back() != '\\' && result.back() != '/') result += '\\';
  return result;
}

bool FileSize(const char* path, uint64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  *size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool DeleteLogFile(const char* path) { return DeleteFileA(path) != 0; }

LocalTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace logsys
