#include "setup/engine/file_remove_decision.h"

#include "setup/engine/file_item.h"
#include "setup/engine/shared_count.h"

RemovalDecision DecideRemoval(const FileItem& item, RemovalMode mode, SharedCounts& counts,
                              bool isProtected) {
  if (item.status <= 0) return {false, 0};
  if (!(item.flags & kFileRemove)) return {false, kEventNoRemoveFlag};
  if (!item.IsShared()) return {!isProtected, 0};
  const bool counting = mode == RemovalMode::kCounting;
  uint32_t remaining = 0;
  if (counting) {
    counts.Decrement(item.target, &remaining);  // a missing count is 0
  } else {
    uint32_t stored = 0;
    counts.Query(item.target, &stored);
    remaining = stored > 0 ? stored - 1 : 0;
  }
  if (remaining > 0) return {false, counting ? uint32_t(kEventStillShared) : 0u};
  const bool ours = item.shared == kSharedRemoveAtZero || item.status == kFileInstalledNew ||
                    item.status == kFileNotInstalled;
  if (!isProtected && ours) return {true, 0};
  return {false, counting ? uint32_t(kEventExistedBefore) : 0u};
}
