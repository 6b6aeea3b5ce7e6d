// SetupApp's decisions: exit-code precedence, the language chosen, the
// running-application name test, script kinds and the restart rule.
#include <gtest/gtest.h>

#include <vector>

#include "setup/app/setup_app_rules.h"

namespace {

TEST(RecordExitCode, LaterReasonsWinExceptThreeFiveAndSix) {
  struct Case {
    std::vector<int> codes;
    int expected;
  };
  const Case cases[] = {
      {{3}, 3},       {{6}, 6},        {{15, 3}, 15},  {{10, 6}, 10}, {{5, 6}, 5},
      {{4, 5}, 4},    {{2, 12}, 12},   {{12, 4}, 4},   {{6, 13}, 13}, {{-1, 6}, -1},
  };
  for (const Case& c : cases) {
    int field = 0;
    for (int code : c.codes) RecordExitCode(field, code);
    EXPECT_EQ(field, c.expected) << c.codes.front();
  }
}

TEST(ParseUserLanguage, HexTextOrEnglish) {
  EXPECT_EQ(ParseUserLanguage("0c07"), 0x0C07);
  EXPECT_EQ(ParseUserLanguage("0407"), 0x0407);
  EXPECT_EQ(ParseUserLanguage(""), 0x0409);
  EXPECT_EQ(ParseUserLanguage(nullptr), 0x0409);
  EXPECT_EQ(ParseUserLanguage("zz"), 0x0409);
}

LanguageEntry Lang(uint16_t id, uint32_t flags) {
  LanguageEntry e;
  e.id = id;
  e.flags = flags;
  return e;
}

TEST(SelectLanguage, PackagePicksAmongTheSystemsLanguages) {
  const uint32_t on = kLangOnSystem | kLangHasDll;
  const std::vector<LanguageEntry> entries = {Lang(0x0407, on), Lang(0x0409, on),
                                              Lang(0x040C, kLangHasDll), Lang(0x0409, on)};
  std::vector<int> offered;
  // Austrian German: no exact entry, German by its primary language.
  EXPECT_EQ(SelectLanguage(entries, 0x0C07, false, &offered), 0);
  EXPECT_EQ(offered, (std::vector<int>{0, 1, 3}));
  // The last exact match wins.
  EXPECT_EQ(SelectLanguage(entries, 0x0409, false), 3);
  // A language whose locale is missing never takes part.
  EXPECT_EQ(SelectLanguage(entries, 0x040C, false), 0);
  // Nothing fits: the first on the system.
  EXPECT_EQ(SelectLanguage(entries, 0x0411, false), 0);
  EXPECT_EQ(SelectLanguage({Lang(0x0407, kLangHasDll)}, 0x0407, false), -1);
}

TEST(SelectLanguage, InstalledCopyTakesTheMarkedEntry) {
  const std::vector<LanguageEntry> entries = {Lang(0x0409, kLangOnSystem),
                                              Lang(0x0407, kLangUsed | kLangHasDll)};
  EXPECT_EQ(SelectLanguage(entries, 0x0409, true), 1);
  EXPECT_EQ(SelectLanguage({Lang(0x0409, kLangOnSystem)}, 0x0409, true), -1);
}

TEST(LanguageResourcesOf, OnlyAnEntryWithItsDll) {
  EXPECT_EQ(LanguageResourcesOf(kLangHasDll), LanguageResources::kDll);
  EXPECT_EQ(LanguageResourcesOf(kLangHasDll | kLangBuiltIn), LanguageResources::kOwn);
  EXPECT_EQ(LanguageResourcesOf(kLangHasDll | kLangNoLanguage), LanguageResources::kOwn);
  EXPECT_EQ(LanguageResourcesOf(kLangOnSystem), LanguageResources::kOwn);
}

TEST(ProcessNameMatches, FileNamesInTheirFirstFifteenCharacters) {
  EXPECT_TRUE(ProcessNameMatches("KELVOLITE.EXE", "C:\\Program Files\\Kelvo\\kelvolite.exe"));
  EXPECT_TRUE(ProcessNameMatches("C:\\WINDOWS\\kelvolite.exe", "kelvolite.exe"));  // 9x: full path
  // Only 15 characters count (the system may cut longer names).
  EXPECT_TRUE(ProcessNameMatches("averyverylongna", "C:\\x\\averyverylongname.exe"));
  EXPECT_FALSE(ProcessNameMatches("kelvo.exe", "C:\\x\\kelvolite.exe"));
  EXPECT_FALSE(ProcessNameMatches("kelvolite.exe", "C:\\x\\kelvo.exe"));
  EXPECT_FALSE(ProcessNameMatches("", "C:\\x\\"));
}

TEST(ScriptKindOf, ByExtension) {
  EXPECT_EQ(ScriptKindOf("C:\\pkg\\data.kvz"), ScriptKind::kArchive);
  EXPECT_EQ(ScriptKindOf("C:\\pkg\\DATA.KVZ"), ScriptKind::kArchive);
  EXPECT_EQ(ScriptKindOf("C:\\dir\\Setup.ini"), ScriptKind::kPlainScript);
  EXPECT_EQ(ScriptKindOf("C:\\x.txt"), ScriptKind::kUnknown);
  EXPECT_EQ(ScriptKindOf("kvz"), ScriptKind::kUnknown);
  EXPECT_EQ(FolderOf("C:\\dir\\Setup.ini"), "C:\\dir");
  EXPECT_EQ(FolderOf("C:\\Setup.ini"), "C:\\");
  EXPECT_EQ(FolderOf("Setup.ini"), "");
}

TEST(ShouldRestart, ModeAndFlag) {
  EXPECT_FALSE(ShouldRestart(0, true));
  EXPECT_FALSE(ShouldRestart(1, false));
  EXPECT_TRUE(ShouldRestart(1, true));
  EXPECT_TRUE(ShouldRestart(2, false));
}

}  // namespace
