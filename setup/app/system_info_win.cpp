#include <windows.h>

#include "setup/app/setup_log.h"
#include "setup/app/system_info.h"
#include "setup/engine/win_handles.h"

namespace {

WindowsVersion ReadWindowsVersion() {
  OSVERSIONINFOA vi;
  ZeroMemory(&vi, sizeof(vi));
  vi.dwOSVersionInfoSize = sizeof(vi);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  if (!GetVersionExA(&vi)) return WindowsVersion();
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  return RecordWindowsVersion(vi.dwMajorVersion, vi.dwMinorVersion,
                              vi.dwBuildNumber, vi.dwPlatformId,
                              vi.szCSDVersion);
}

// Functions looked up by name: Windows 9x has no service control manager.
using OpenSCManagerFn = SC_HANDLE(WINAPI*)(LPCSTR, LPCSTR, DWORD);
using CloseServiceHandleFn = BOOL(WINAPI*)(SC_HANDLE);

void EnableShutdownPrivilege() {
  ScopedHandle token;
  if (!OpenProcessToken(GetCurrentProcess(),
                        TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
    return;
  TOKEN_PRIVILEGES tp;
  ZeroMemory(&tp, sizeof(tp));
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege",
                             &tp.Privileges[0].Luid))
    return;
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr);
}

}  // namespace

const WindowsVersion& CurrentWindowsVersion() {
  static const WindowsVersion version = ReadWindowsVersion();
  return version;
}

bool IsNtFamily() { return IsNtFamily(CurrentWindowsVersion()); }

int SystemClassOf(int* serviceLevel) {
  const WindowsVersion& v = CurrentWindowsVersion();
  if (serviceLevel) *serviceLevel = ServiceLevelOf(v);
  return SystemClassOf(v);
}

std::string SystemDisplayName() {
  return SystemDisplayName(CurrentWindowsVersion());
}

bool UserIsAdministrator() {
  if (!IsNtFamily()) return true;
  ScopedModule advapi(LoadSystemLibrary("ADVAPI32.DLL"));
  const auto open = FindProc<OpenSCManagerFn>(advapi.get(), "OpenSCManagerA");
  const auto close =
      FindProc<CloseServiceHandleFn>(advapi.get(), "CloseServiceHandle");
  if (!open || !close) return false;
  SC_HANDLE manager = open(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  close(manager);
  return true;
}

bool RestartWindows() {
  if (IsNtFamily()) EnableShutdownPrivilege();
  return ExitWindowsEx(EWX_REBOOT, 0) != 0;
}

void LogSystemAtStart() {
  SetupLog& log = SetupLog::Instance();
  const std::string text = WindowsVersionLogText(CurrentWindowsVersion());
  log.Event(kEventWindowsVersion, {text.c_str()});
  log.Event(UserIsAdministrator() ? kEventUserIsAdministrator
                                  : kEventUserIsNotAdministrator);
}
