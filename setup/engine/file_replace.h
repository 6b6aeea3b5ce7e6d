// Whether an existing target is replaced: by the line's replace rule and,
// for rule 2, by comparing the source's record with the target's.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/archive.h"

// Event codes of the decision.
enum : uint32_t {
  kEventFileCompared = 0x01010001,
  kEventTargetMissing = 0x01010002,
  kEventRuleKeep = 0x01010003,
  kEventRuleReplace = 0x01010004,
  kEventSourceNewer = 0x01010005,
  kEventSourceNotNewer = 0x01010006,
};

struct ReplaceDecision {
  int32_t status;      // 1 install (no target), 2 replace, 3 keep
  uint32_t event;      // 0: none
  bool compared;       // both records are worth logging (rule 2)
};

// Product version, then file version (each as a signed 64-bit number of
// its high and low words), then last-write time: <0, 0 or >0.
int CompareFileRecords(const ArchiveEntryHeader& source, const ArchiveEntryHeader& target);

ReplaceDecision DecideReplace(int32_t rule, const ArchiveEntryHeader& source,
                              const ArchiveEntryHeader& target);

// "%u.%02u.%04u.%04u", or "n/a" when both words are 0.
std::string FormatFileVersion(uint32_t ms, uint32_t ls);

// Local time as the log shows it; a year up to 1601 gives "".
struct LocalTimeParts {
  unsigned year, month, day, hour, minute, second;
};
std::string FormatLogTime(const LocalTimeParts& t);
