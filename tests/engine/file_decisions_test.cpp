// The decision tables of the file steps: replace an existing target or
// keep it, remove an installed file or keep it, and the shared counts
// under SharedDLLs.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "registry_fake.h"
#include "setup/engine/file_item.h"
#include "setup/engine/file_remove_decision.h"
#include "setup/engine/file_replace.h"
#include "setup/engine/shared_count.h"

namespace {

ArchiveEntryHeader Record(uint32_t pMS, uint32_t pLS, uint32_t fMS, uint32_t fLS, uint64_t time) {
  ArchiveEntryHeader r = NoFileRecord();
  r.attributes = 0x20;
  r.productVersionMS = pMS;
  r.productVersionLS = pLS;
  r.fileVersionMS = fMS;
  r.fileVersionLS = fLS;
  r.lastWrite = time;
  return r;
}

TEST(ReplaceDecision, Table) {
  const ArchiveEntryHeader v1 = Record(0x10000, 0, 0x10000, 0, 100);
  const ArchiveEntryHeader v1later = Record(0x10000, 0, 0x10000, 0, 200);
  const ArchiveEntryHeader v2 = Record(0x20000, 0, 0x10000, 0, 50);
  const ArchiveEntryHeader file2 = Record(0x10000, 0, 0x10000, 1, 50);
  const ArchiveEntryHeader none = Record(0, 0, 0, 0, 900);
  const ArchiveEntryHeader missing = NoFileRecord();
  // A negative high word must not beat a real version (signed compare).
  const ArchiveEntryHeader negative = Record(0x80000000u, 0, 0, 0, 900);
  struct Case { const char* name; int32_t rule; ArchiveEntryHeader src, tgt; int32_t status; uint32_t event; };
  const Case cases[] = {
      {"missing target, keep rule", 0, v1, missing, 1, kEventTargetMissing},
      {"missing target, newer rule", 2, none, missing, 1, kEventTargetMissing},
      {"rule 0 keeps", 0, v2, v1, 3, kEventRuleKeep},
      {"rule 1 replaces an older", 1, v1, v2, 2, kEventRuleReplace},
      {"rule 2 newer product", 2, v2, v1, 2, kEventSourceNewer},
      {"rule 2 older product", 2, v1, v2, 3, kEventSourceNotNewer},
      {"rule 2 equal all", 2, v1, v1, 3, kEventSourceNotNewer},
      {"rule 2 equal versions newer time", 2, v1later, v1, 2, kEventSourceNewer},
      {"rule 2 newer file version beats time", 2, file2, v1later, 2, kEventSourceNewer},
      {"rule 2 no version vs version", 2, none, v1, 3, kEventSourceNotNewer},
      {"rule 2 negative product word", 2, negative, v1, 3, kEventSourceNotNewer},
      {"other rule keeps silently", 7, v2, v1, 3, 0},
      {"negative rule keeps silently", -1, v2, v1, 3, 0},
  };
  for (const Case& c : cases) {
    const ReplaceDecision d = DecideReplace(c.rule, c.src, c.tgt);
    EXPECT_EQ(d.status, c.status) << c.name;
    EXPECT_EQ(d.event, c.event) << c.name;
    EXPECT_EQ(d.compared, c.rule == 2 && RecordExists(c.tgt)) << c.name;
  }
}

TEST(ReplaceDecision, LogFormats) {
  EXPECT_EQ(FormatFileVersion(0, 0), "n/a");
  EXPECT_EQ(FormatFileVersion(0x00050001, 0x0A280003), "5.01.2600.0003");
  EXPECT_EQ(FormatLogTime({2004, 3, 9, 7, 5, 1}), "2004-03-09 07:05:01");
  EXPECT_EQ(FormatLogTime({1601, 1, 1, 0, 0, 0}), "");
}

// Counts in memory; a missing count fails as in the registry.
class MemoryCounts : public SharedCounts {
 public:
  std::map<std::string, uint32_t> counts;
  bool Increment(const std::string& p) override { return ++counts[p], true; }
  bool Decrement(const std::string& p, uint32_t* remaining) override {
    *remaining = 0;
    auto it = counts.find(p);
    if (it == counts.end()) return false;
    if (it->second <= 1) return counts.erase(it), true;
    *remaining = --it->second;
    return true;
  }
  bool Query(const std::string& p, uint32_t* c) override {
    auto it = counts.find(p);
    *c = it == counts.end() ? 0 : it->second;
    return it != counts.end();
  }
  bool Delete(const std::string& p) override { return counts.erase(p) != 0; }
};

TEST(RemovalDecision, Table) {
  struct Case {
    const char* name;
    int32_t status;
    uint32_t flags;
    int32_t shared;
    int stored;  // -1: no count
    bool isProtected;
    bool remove;
    uint32_t event;
    int storedAfter;  // counting mode
  };
  const Case cases[] = {
      {"not processed", 0, 3, 0, -1, false, false, 0, -1},
      {"failed line", -3, 3, 0, -1, false, false, 0, -1},
      {"other OS", -4, 3, 2, 1, false, false, 0, 1},
      {"no remove flag", 1, 1, 0, -1, false, false, kEventNoRemoveFlag, -1},
      {"plain file", 2, 3, 0, -1, false, true, 0, -1},
      {"plain protected", 5, 3, 0, -1, true, false, 0, -1},
      {"shared, other users left", 1, 3, 1, 2, false, false, kEventStillShared, 1},
      {"shared 1, created by us", 1, 3, 1, 1, false, true, 0, -1},
      {"shared 1, existed before", 2, 3, 1, 1, false, false, kEventExistedBefore, -1},
      {"shared 1, kept copy", 3, 3, 1, 1, false, false, kEventExistedBefore, -1},
      {"shared 2, existed before", 2, 3, 2, 1, false, true, 0, -1},
      {"shared 2, protected", 5, 3, 2, 1, true, false, kEventExistedBefore, -1},
      {"shared, count lost", 1, 3, 1, -1, false, true, 0, -1},
      {"shared, not installed line", 4, 3, 1, 1, false, true, 0, -1},
  };
  for (const Case& c : cases) {
    FileItem item;
    item.target = "C:\\App\\x.dll";
    item.status = c.status;
    item.flags = c.flags;
    item.shared = c.shared;
    for (RemovalMode mode : {RemovalMode::kQuery, RemovalMode::kCounting}) {
      MemoryCounts counts;
      if (c.stored >= 0) counts.counts[item.target] = uint32_t(c.stored);
      const RemovalDecision d = DecideRemoval(item, mode, counts, c.isProtected);
      EXPECT_EQ(d.remove, c.remove) << c.name;
      if (mode == RemovalMode::kQuery) {
        // Asking changes nothing and logs no count events.
        EXPECT_EQ(c.stored >= 0 ? int(counts.counts[item.target]) : -1, c.stored) << c.name;
        EXPECT_EQ(d.event, c.event == kEventNoRemoveFlag ? c.event : 0u) << c.name;
      } else {
        EXPECT_EQ(d.event, c.event) << c.name;
        auto it = counts.counts.find(item.target);
        EXPECT_EQ(it == counts.counts.end() ? -1 : int(it->second), c.storedAfter) << c.name;
      }
    }
  }
}

TEST(SharedCount, StoredValueTypes) {
  struct Case { const char* name; uint32_t type; std::string data; bool ok; uint32_t count; };
  const Case cases[] = {
      {"dword", kRegDword, std::string("\x03\0\0\0", 4), true, 3},
      {"binary 4", kRegBinary, std::string("\x02\x01\0\0", 4), true, 258},
      {"binary 3", kRegBinary, std::string("\x02\x01\0", 3), false, 0},
      {"big endian", 5, std::string("\0\0\0\x02", 4), true, 2},
      {"decimal string", kRegSz, std::string("12abc\0", 6), true, 12},
      {"string without digit", kRegSz, std::string(" 12\0", 4), false, 0},
      {"expand string", kRegExpandSz, std::string("1\0", 2), false, 0},
      {"multi string", kRegMultiSz, std::string("1\0\0", 3), false, 0},
  };
  for (const Case& c : cases) {
    uint32_t count = 77;
    RegValue v;
    v.type = c.type;
    v.data = c.data;
    EXPECT_EQ(SharedCountFromValue(v, &count), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(count, c.count) << c.name;
    }
  }
}

TEST(SharedCount, IncrementDecrementQueryInTheRegistry) {
  kvtest::FakeRegistry registry;
  RegistrySharedCounts counts(registry);
  const std::string dll = "C:\\Common\\shared.dll";
  uint32_t n = 0;
  // Missing key: decrement fails and reports 0.
  EXPECT_FALSE(counts.Decrement(dll, &n));
  EXPECT_EQ(n, 0u);
  // Another product counted it as a string; we count on as a DWORD.
  registry.PutString(RegRoot::kLocalMachine, kSharedDllsKey, dll, "2");
  ASSERT_TRUE(counts.Increment(dll));
  const kvtest::FakeValue* v = registry.Get(RegRoot::kLocalMachine, kSharedDllsKey, dll);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->type, uint32_t(kRegDword));
  EXPECT_EQ(v->data, std::string("\x03\0\0\0", 4));
  ASSERT_TRUE(counts.Query(dll, &n));
  EXPECT_EQ(n, 3u);
  ASSERT_TRUE(counts.Decrement(dll, &n));
  EXPECT_EQ(n, 2u);
  ASSERT_TRUE(counts.Decrement(dll, &n));
  ASSERT_TRUE(counts.Decrement(dll, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(registry.Get(RegRoot::kLocalMachine, kSharedDllsKey, dll), nullptr);
  // A value of another type is left alone.
  registry.Put(RegRoot::kLocalMachine, kSharedDllsKey, dll, kRegExpandSz, std::string("1\0", 2));
  EXPECT_FALSE(counts.Increment(dll));
  EXPECT_FALSE(counts.Decrement(dll, &n));
  EXPECT_EQ(registry.Get(RegRoot::kLocalMachine, kSharedDllsKey, dll)->type, uint32_t(kRegExpandSz));
}

}  // namespace
