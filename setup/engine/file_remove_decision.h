// Whether a removal run deletes an installed file. Counting mode (files
// are really being removed) decrements the shared count; query mode (the
// unregistration pass only asks) reads it and changes nothing.
#pragma once

#include <cstdint>

struct FileItem;
class SharedCounts;

enum : uint32_t {
  kEventNoRemoveFlag = 0x0101000E,
  kEventStillShared = 0x0101000F,
  kEventExistedBefore = 0x01010010,
};

enum class RemovalMode { kCounting, kQuery };

struct RemovalDecision {
  bool remove;
  uint32_t event;  // 0: nothing to log
};

// isProtected: the system protects the target (it is never removed).
RemovalDecision DecideRemoval(const FileItem& item, RemovalMode mode, SharedCounts& counts,
                              bool isProtected);
