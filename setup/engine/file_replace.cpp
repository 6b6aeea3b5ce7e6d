#include "setup/engine/file_replace.h"

#include <cstdio>

#include "setup/engine/file_item.h"

static int CompareSigned(uint32_t ms1, uint32_t ls1, uint32_t ms2, uint32_t ls2) {
  const int64_t a = static_cast<int64_t>((uint64_t(ms1) << 32) | ls1);
  const int64_t b = static_cast<int64_t>((uint64_t(ms2) << 32) | ls2);
  return a < b ? -1 : a > b ? 1 : 0;
}

int CompareFileRecords(const ArchiveEntryHeader& s, const ArchiveEntryHeader& t) {
  int c = CompareSigned(s.productVersionMS, s.productVersionLS, t.productVersionMS,
                        t.productVersionLS);
  if (c == 0)
    c = CompareSigned(s.fileVersionMS, s.fileVersionLS, t.fileVersionMS, t.fileVersionLS);
  if (c == 0) c = s.lastWrite < t.lastWrite ? -1 : s.lastWrite > t.lastWrite ? 1 : 0;
  return c;
}

ReplaceDecision DecideReplace(int32_t rule, const ArchiveEntryHeader& source,
                              const ArchiveEntryHeader& target) {
  if (!RecordExists(target)) return {kFileInstalledNew, kEventTargetMissing, false};
  switch (rule) {
    case kReplaceNever:
      return {kFileKept, kEventRuleKeep, false};
    case kReplaceAlways:
      return {kFileReplaced, kEventRuleReplace, false};
    case kReplaceIfNewer:
      if (CompareFileRecords(source, target) > 0) return {kFileReplaced, kEventSourceNewer, true};
      return {kFileKept, kEventSourceNotNewer, true};
    default:
      return {kFileKept, 0, false};
  }
}

std::string FormatFileVersion(uint32_t ms, uint32_t ls) {
  if (ms == 0 && ls == 0) return "n/a";
  char text[48];
  std::snprintf(text, sizeof(text), "%u.%02u.%04u.%04u", unsigned(ms >> 16), unsigned(ms & 0xFFFF),
                unsigned(ls >> 16), unsigned(ls & 0xFFFF));
  return text;
}

std::string FormatLogTime(const LocalTimeParts& t) {
  if (t.year <= 1601) return "";
  char text[48];
  std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  return text;
}
