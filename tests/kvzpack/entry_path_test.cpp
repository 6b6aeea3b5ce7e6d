#include "tools/kvzpack/entry_path.h"

#include <gtest/gtest.h>

using kvzpack::SplitEntryName;

TEST(EntryPath, SplitsWindowsNamesIntoParts) {
  std::vector<std::string> parts;
  std::string error;
  ASSERT_TRUE(SplitEntryName("0001\\F7\\lang.lng", &parts, &error)) << error;
  EXPECT_EQ(parts, (std::vector<std::string>{"0001", "F7", "lang.lng"}));
  ASSERT_TRUE(SplitEntryName("Setup.ini", &parts, &error));
  EXPECT_EQ(parts, std::vector<std::string>{"Setup.ini"});
  ASSERT_TRUE(SplitEntryName("a/b\\..c", &parts, &error));  // "..c" is a plain name
  EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "..c"}));
}

// Every way a name could leave the target folder, or mean something else
// on Windows.
TEST(EntryPath, RefusesNamesThatLeaveTheFolder) {
  const char* bad[] = {
      "..\\evil",      "0001\\..\\..\\evil", "a\\..",   "..",       "\\evil",
      "/etc/passwd",   "C:\\evil",           "C:evil",  "a\\b:ads", "a\\\\b",
      "a\\",           ".\\a",               "a/./b",   "",
  };
  for (const char* name : bad) {
    std::vector<std::string> parts;
    std::string error;
    EXPECT_FALSE(SplitEntryName(name, &parts, &error)) << name;
    EXPECT_NE(error.find("refusing"), std::string::npos) << name;
    EXPECT_TRUE(parts.empty()) << name;
  }
}
