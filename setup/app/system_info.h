// What setup knows about the system it runs on: the Windows version and
// what follows from it (family, class, service level, display name), the
// administrator test and the restart of Windows. The mapping from a version
// record is portable; reading the record and the services need Windows.
#pragma once

#include <cstdint>
#include <string>

// The system's OSVERSIONINFO, as setup keeps it.
struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platform = 0;  // 1 the 9x family, 2 the NT family
  char service[128] = "";
};

enum : uint32_t { kPlatform9x = 1, kPlatformNT = 2 };

// System classes, the index of a version into per-version tables such as
// [Install] Software; -1 for a system none of them covers.
enum SystemClass {
  kClassUnknown = -1,
  kClass95 = 0,
  kClass98 = 1,
  kClassMe = 2,
  kClassNT4 = 3,
  kClass2000 = 4,
  kClassXP = 5,
  kClassLater = 6,
};

// The record as setup keeps it: a 9x system reporting 4.10 build 3000 is
// Windows Me and is recorded as 4.90. The service string is cut to fit.
WindowsVersion RecordWindowsVersion(uint32_t major, uint32_t minor,
                                    uint32_t build, uint32_t platform,
                                    const char* service);

bool IsNtFamily(const WindowsVersion& v);
int SystemClassOf(const WindowsVersion& v);
// The service level the requirement check compares: on the 9x family the
// letter of " A " style strings (A = 1, B = 2, ...), on the NT family the
// number of "Service Pack N"; 0 otherwise.
int ServiceLevelOf(const WindowsVersion& v);
// "Windows 98 A  (4.10.2222)", "Windows XP Service Pack 2 (5.1.2600)".
std::string SystemDisplayName(const WindowsVersion& v);
// Text of the start-of-run event: "Windows NT 5.1.2600 Service Pack 2".
std::string WindowsVersionLogText(const WindowsVersion& v);

// Event codes of the start of every run.
enum : uint32_t {
  kEventWindowsVersion = 0x01000001,
  kEventUserIsAdministrator = 0x01000002,
  kEventUserIsNotAdministrator = 0x01000003,
};

// The running system (Windows builds only). The record is read once.
const WindowsVersion& CurrentWindowsVersion();
bool IsNtFamily();
int SystemClassOf(int* serviceLevel);
std::string SystemDisplayName();
bool UserIsAdministrator();
// Enables the shutdown privilege on NT and asks Windows to restart.
bool RestartWindows();
// The start-of-run entries: the version line and the administrator test.
void LogSystemAtStart();
