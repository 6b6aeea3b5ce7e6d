// OS flags: one bit per Windows version, used by script lines (symbols,
// files, actions, registry keys) to say which systems they apply to.
#pragma once

#include <cstdint>

namespace osflags {
constexpr uint32_t kWin95 = 0x01;
constexpr uint32_t kWin98 = 0x02;
constexpr uint32_t kWinMe = 0x04;
constexpr uint32_t kNone = 0x08;  // no system has this bit
constexpr uint32_t kNT4 = 0x10;
constexpr uint32_t kWin2000 = 0x20;
constexpr uint32_t kWinXP = 0x40;
constexpr uint32_t kNTLater = 0x80;  // 5.2 and later
constexpr uint32_t kFamily9x = 0x0F;
constexpr uint32_t kFamilyNT = 0xF0;
constexpr uint32_t kFileDefault = 0xF7;  // default of File= lines
constexpr uint32_t kAll = 0xFF;
}  // namespace osflags

// The bit of a system class (0 95, 1 98, 2 Me, 3 NT4, 4 2000, 5 XP,
// 6 later); 0 for any other system (class -1), which no line matches.
uint32_t OsFlagForSystemClass(int systemClass);

inline bool OsFlagsMatch(uint32_t flags, uint32_t runningOsFlag) {
  return (flags & runningOsFlag) != 0;
}

// Windows only: the running system's bit, classified once.
uint32_t RunningOsFlag();
inline bool OsFlagsMatch(uint32_t flags) { return OsFlagsMatch(flags, RunningOsFlag()); }
