#include "setup/engine/os_flags.h"

uint32_t OsFlagForSystemClass(int systemClass) {
  static const uint32_t kBits[] = {osflags::kWin95,   osflags::kWin98, osflags::kWinMe,
                                   osflags::kNT4,     osflags::kWin2000, osflags::kWinXP,
                                   osflags::kNTLater};
  if (systemClass < 0 || systemClass >= int(sizeof(kBits) / sizeof(kBits[0]))) return 0;
  return kBits[systemClass];
}
