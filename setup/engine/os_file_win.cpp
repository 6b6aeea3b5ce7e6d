// osfile on Win32: only calls that Windows 95 and NT 4 already have
// (SetFilePointer rather than SetFilePointerEx, GetFileSize).
#include "setup/engine/os_file.h"

#include <windows.h>

namespace osfile {
namespace {

HANDLE H(Handle file) { return reinterpret_cast<HANDLE>(file); }

FILETIME ToFileTime(uint64_t t) {
  FILETIME ft;
  ft.dwLowDateTime = DWORD(t);
  ft.dwHighDateTime = DWORD(t >> 32);
  return ft;
}

}  // namespace

Handle Open(const char* path, FileOpen mode) {
  HANDLE h = INVALID_HANDLE_VALUE;
  switch (mode) {
    case FileOpen::ReadExisting:
      h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
      break;
    case FileOpen::WriteCreateAlways:
      h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
      break;
    case FileOpen::AppendOpenAlways:
      h = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        uint64_t end;
        if (!SeekEnd(reinterpret_cast<Handle>(h), &end)) {
          CloseHandle(h);
          h = INVALID_HANDLE_VALUE;
        }
      }
      break;
  }
  return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<Handle>(h);
}

void Close(Handle file) {
  if (file != kNoFile) CloseHandle(H(file));
}

bool Read(Handle file, void* dst, size_t n, size_t* got) {
  *got = 0;
  // ReadFile takes a DWORD count.
  const DWORD want = n > 0x40000000u ? 0x40000000u : DWORD(n);
  DWORD read = 0;
  if (!ReadFile(H(file), dst, want, &read, nullptr)) return false;
  *got = read;
  return true;
}

bool Write(Handle file, const void* src, size_t n) {
  const char* p = static_cast<const char*>(src);
  while (n > 0) {
    const DWORD chunk = n > 0x40000000u ? 0x40000000u : DWORD(n);
    DWORD written = 0;
    if (!WriteFile(H(file), p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    n -= written;
  }
  return true;
}

bool Seek(Handle file, uint64_t offset) {
  LONG high = LONG(offset >> 32);
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(H(file), LONG(DWORD(offset)), &high, FILE_BEGIN);
  return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool SeekEnd(Handle file, uint64_t* offset) {
  LONG high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = SetFilePointer(H(file), 0, &high, FILE_END);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
  *offset = (uint64_t(DWORD(high)) << 32) | low;
  return true;
}

bool Size(Handle file, uint64_t* size) {
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(H(file), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
  *size = (uint64_t(high) << 32) | low;
  return true;
}

bool SetLastWriteTime(Handle file, uint64_t fileTime) {
  const FILETIME ft = ToFileTime(fileTime);
  return SetFileTime(H(file), nullptr, nullptr, &ft) != FALSE;
}

bool ForceDelete(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  const DWORD sticky = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes & sticky) {
    DWORD rest = attributes & ~sticky;
    SetFileAttributesA(path, rest ? rest : FILE_ATTRIBUTE_NORMAL);
  }
  if (DeleteFileA(path)) return true;
  return GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool SetAttributes(const char* path, uint32_t attributes) {
  // 0 would mean "leave as is" to some systems; NORMAL says "none".
  return SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

uint32_t GetAttributes(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes == INVALID_FILE_ATTRIBUTES ? kNoAttributes : uint32_t(attributes);
}

bool GetLastWriteTime(const char* path, uint64_t* fileTime) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(path, &fd);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  *fileTime = (uint64_t(fd.ftLastWriteTime.dwHighDateTime) << 32) | fd.ftLastWriteTime.dwLowDateTime;
  return true;
}

}  // namespace osfile
