#include "setup/app/system_info.h"

#include <cstdio>
#include <cstring>

WindowsVersion RecordWindowsVersion(uint32_t major, uint32_t minor,
                                    uint32_t build, uint32_t platform,
                                    const char* service) {
  WindowsVersion v;
  v.major = major;
  v.minor = minor;
  v.build = build;
  v.platform = platform;
  if (service) {
    strncpy(v.service, service, sizeof(v.service) - 1);
    v.service[sizeof(v.service) - 1] = '\0';
  }
  // Windows Me reports itself as 4.10 build 3000 to some callers.
  if (platform == kPlatform9x && major == 4 && minor == 10 &&
      (build & 0xFFFF) == 3000)
    v.minor = 90;
  return v;
}

bool IsNtFamily(const WindowsVersion& v) { return v.platform == kPlatformNT; }

int SystemClassOf(const WindowsVersion& v) {
  if (v.platform == kPlatform9x && v.major == 4) {
    if (v.minor == 0) return kClass95;
    if (v.minor == 10) return kClass98;
    if (v.minor == 90) return kClassMe;
  } else if (v.platform == kPlatformNT) {
    if (v.major == 4 && v.minor == 0) return kClassNT4;
    if (v.major == 5 && v.minor == 0) return kClass2000;
    if (v.major == 5 && v.minor == 1) return kClassXP;
    if ((v.major == 5 && v.minor >= 2) || v.major > 5) return kClassLater;
  }
  return kClassUnknown;
}

int ServiceLevelOf(const WindowsVersion& v) {
  const char* s = v.service;
  if (v.platform == kPlatform9x) {
    // " A ", " B ", " C ": the letter after the leading blank.
    const unsigned char letter = static_cast<unsigned char>(s[0] ? s[1] : 0);
    return letter >= 'A' ? letter - 64 : 0;
  }
  if (v.platform == kPlatformNT) {
    // "Service Pack N": S first, P ninth, the number from the fourteenth on.
    if (strlen(s) < 13 || s[0] != 'S' || s[8] != 'P') return 0;
    int level = 0;
    for (const char* p = s + 13; *p >= '0' && *p <= '9'; ++p) {
      level = level * 10 + (*p - '0');
      if (level > 9999) break;  // no real service pack; keeps it bounded
    }
    return level;
  }
  return 0;
}

namespace {

const char* FamilyName(const WindowsVersion& v) {
  if (v.platform == kPlatform9x) {
    if (v.major == 4 && v.minor == 0) return "95";
    if (v.major == 4 && v.minor == 10) return "98";
    if (v.major == 4 && v.minor == 90) return "Me";
    return "? ";
  }
  if (v.platform == kPlatformNT) {
    if (v.major != 5) return "NT ";
    if (v.minor == 0) return "2000 ";
    if (v.minor == 1) return "XP ";
    return "? ";
  }
  return "? ";
}

}  // namespace

std::string SystemDisplayName(const WindowsVersion& v) {
  // The name is built in a 256-character buffer; the version numbers follow
  // only while more than 40 characters of it are free.
  const size_t kBuffer = 256;
  std::string name = std::string("Windows ") + FamilyName(v) + v.service;
  if (name.size() >= kBuffer) name.resize(kBuffer - 1);
  if (kBuffer - name.size() > 40) {
    char numbers[48];
    snprintf(numbers, sizeof(numbers), " (%lu.%lu.%lu)",
             static_cast<unsigned long>(v.major),
             static_cast<unsigned long>(v.minor),
             static_cast<unsigned long>(v.build & 0xFFFF));
    name += numbers;
  }
  return name;
}

std::string WindowsVersionLogText(const WindowsVersion& v) {
  const bool nt = IsNtFamily(v);
  char text[64 + sizeof(v.service)];
  snprintf(text, sizeof(text), "Windows %s%lu.%lu.%lu %s", nt ? "NT " : "",
           static_cast<unsigned long>(v.major),
           static_cast<unsigned long>(v.minor),
           static_cast<unsigned long>(nt ? v.build : v.build & 0xFFFF),
           v.service);
  return text;
}
