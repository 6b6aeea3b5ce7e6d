#include <windows.h>

#include "setup/engine/file_record.h"

#include <cstdio>
#include <vector>

#include "setup/app/setup_log.h"
#include "setup/engine/file_item.h"
#include "setup/engine/file_replace.h"

static void ReadVersions(const char* path, ArchiveEntryHeader* r) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data())) return;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  char root[] = "\\";
  if (!VerQueryValueA(data.data(), root, reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return;
  r->productVersionMS = info->dwProductVersionMS;
  r->productVersionLS = info->dwProductVersionLS;
  r->fileVersionMS = info->dwFileVersionMS;
  r->fileVersionLS = info->dwFileVersionLS;
}

bool ReadFileRecord(const char* path, ArchiveEntryHeader* r) {
  *r = NoFileRecord();
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(path, &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  r->size = found.nFileSizeLow;
  r->lastWrite = (uint64_t(found.ftLastWriteTime.dwHighDateTime) << 32) |
                 found.ftLastWriteTime.dwLowDateTime;
  // 0xFFFF would read as "no such file".
  r->attributes = static_cast<uint16_t>(found.dwFileAttributes & 0x7FFF);
  ReadVersions(path, r);
  return true;
}

void LogFileRecord(const char* tag, const ArchiveEntryHeader& r) {
  FILETIME utc, local;
  utc.dwLowDateTime = static_cast<DWORD>(r.lastWrite);
  utc.dwHighDateTime = static_cast<DWORD>(r.lastWrite >> 32);
  SYSTEMTIME st = {};
  LocalTimeParts parts = {};
  if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &st))
    parts = {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
  const std::string product = FormatFileVersion(r.productVersionMS, r.productVersionLS);
  const std::string file = FormatFileVersion(r.fileVersionMS, r.fileVersionLS);
  const std::string time = FormatLogTime(parts);
  char size[16];
  std::snprintf(size, sizeof(size), "%lu", static_cast<unsigned long>(r.size));
  SetupLog::Instance().Event(kEventFileCompared,
                             {tag, product.c_str(), file.c_str(), time.c_str(), size});
}
