#include <windows.h>

#include "setup/engine/disk_space.h"

bool FreeDiskSpace(const std::string& folder, uint64_t* bytes) {
  *bytes = 0;
  const std::string root = DiskRootOf(folder);
  const char* rootArg = root.empty() ? nullptr : root.c_str();
  typedef BOOL(WINAPI * FreeSpaceEx)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  static const FreeSpaceEx freeSpaceEx = reinterpret_cast<FreeSpaceEx>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  if (freeSpaceEx) {
    ULARGE_INTEGER available, total, free;
    if (!freeSpaceEx(rootArg, &available, &total, &free)) return false;
    *bytes = available.QuadPart;
    return true;
  }
  DWORD sectors = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(rootArg, &sectors, &bytesPerSector, &freeClusters, &clusters))
    return false;
  *bytes = uint64_t(freeClusters) * sectors * bytesPerSector;
  return true;
}
