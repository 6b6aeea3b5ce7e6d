#include <gtest/gtest.h>

#include "engine/expand_fake_lookups.h"
#include "engine/script_test_util.h"
#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/symbol.h"

using expandtest::FakeLookups;

namespace {

class ExpandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scripttest::Parse(script_,
                      "[Symbols]\n"
                      "WinDir=19|255|C:\\WINDOWS\n"
                      "AppFolder=1|255|<ProgramFiles>\\Tool\n"
                      "ProgramFiles=-1|255|<@HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                      "ProgramFilesDir=!C:\\Program Files>\n"
                      "ShellFoldersCU=-1|255|HKCU\\Software\\Shell Folders\n"
                      "Common_Desktop=-1|255|<@HKLM\\Software\\Shell Folders\\Common Desktop>\n"
                      "User_Desktop=-1|255|C:\\Users\\me\\Desktop\n"
                      "Profiles=30|255|C:\\Profiles\n"
                      "Profile=-1|255|C:\\Profile\n"
                      "Self=-1|255|x<Self>\n"
                      "PingA=-1|255|a<PingB>\n"
                      "PingB=-1|255|b<PingA>\n"
                      "Empty=-1|255|\n"
                      "Only9x=-1|15|nine-x\n");
    symbols_.Load(script_);
    fake_.env["TEMP"] = "C:\\Temp";
    fake_.registry[{RegRoot::kCurrentUser, "Software\\Shell Folders", "Fonts"}] =
        "C:\\Fonts";
    fake_.ini[{"win.ini", "Desktop", "Wallpaper"}] = "clouds.bmp";
  }

  std::string Expand(const std::string& text) { return ExpandSymbols(text, symbols_, fake_); }

  SetupScript script_;
  SymbolTable symbols_{osflags::kWinXP};
  FakeLookups fake_;
};

}  // namespace

TEST_F(ExpandTest, EachKindOfAlternative) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"plain text", "plain text"},
      {"<WinDir>\\system32", "C:\\WINDOWS\\system32"},
      {"<windir>", "C:\\WINDOWS"},  // names without case
      {"<!literal text>", "literal text"},
      {"<%TEMP>\\x", "C:\\Temp\\x"},
      {"<%NOT_SET>", ""},
      {"<@HKCU\\Software\\Shell Folders\\Fonts>", "C:\\Fonts"},
      {"<@HKEY_CURRENT_USER\\Software\\Shell Folders\\Fonts>", "C:\\Fonts"},
      {"<@hkcu\\Software\\Shell Folders\\Fonts>", "C:\\Fonts"},
      {"<@HKXX\\Software\\Shell Folders\\Fonts>", ""},
      {"<#win.ini?Desktop?Wallpaper>", "clouds.bmp"},
      {"<#win.ini?Desktop>", ""},                   // two parts
      {"<#win.ini?Desktop?Wallpaper?more>", ""},    // four parts
      {"<Unknown>", ""},
      {"<Empty>", ""},
      {"<Only9x>", ""},                             // not for this system
      {"<>", ""},
      {"a<>b", "ab"},
      {"<!>", ""},
      {"<AppFolder>", "C:\\Program Files\\Tool"},  // symbols expand recursively
      {"<Profile>", "C:\\Profile"},                 // never the value of Profiles
      {"<Profiles>", "C:\\Profiles"},
  };
  for (const auto& c : cases) EXPECT_EQ(Expand(c.text), c.expected) << c.text;
}

TEST_F(ExpandTest, FirstAlternativeThatAddsSomethingWins) {
  EXPECT_EQ(Expand("<Common_Desktop=User_Desktop>"), "C:\\Users\\me\\Desktop");
  fake_.registry[{RegRoot::kLocalMachine, "Software\\Shell Folders", "Common Desktop"}] =
      "C:\\All Users\\Desktop";
  EXPECT_EQ(Expand("<Common_Desktop=User_Desktop>"), "C:\\All Users\\Desktop");
  EXPECT_EQ(Expand("<Unknown=Empty=%NOT_SET=!last>"), "last");
  EXPECT_EQ(Expand("<!first=!second>"), "first");
  EXPECT_EQ(Expand("<=!after empty>"), "after empty");
  // A missing registry value falls back; the value name is after the last '\'.
  EXPECT_EQ(Expand("<@HKLM\\Software\\X\\Y=!default>"), "default");
  EXPECT_EQ(Expand("<ProgramFiles>"), "C:\\Program Files");
}

TEST_F(ExpandTest, AlternativesNest) {
  EXPECT_EQ(Expand("<@<ShellFoldersCU>\\Fonts=!<WinDir>\\Fonts>"), "C:\\Fonts");
  fake_.registry.clear();
  EXPECT_EQ(Expand("<@<ShellFoldersCU>\\Fonts=!<WinDir>\\Fonts>"), "C:\\WINDOWS\\Fonts");
  // The kind is decided after the alternative's own expansion.
  EXPECT_EQ(Expand("<<!!lit>>"), "lit");
  EXPECT_EQ(Expand("<<!Win>Dir>"), "C:\\WINDOWS");
  // '=' and '>' inside a nested reference belong to it.
  EXPECT_EQ(Expand("<!<Unknown=!a>b=!c>d"), "abd");
}

TEST_F(ExpandTest, LessThanBeforeWhiteSpaceOrAtTheEndIsText) {
  EXPECT_EQ(Expand("a < b"), "a < b");
  EXPECT_EQ(Expand("a <\tb"), "a <\tb");
  EXPECT_EQ(Expand("ends with <"), "ends with <");
  EXPECT_EQ(Expand("<!x < y>"), "x < y");
  EXPECT_EQ(Expand("a > b"), "a > b");
  // A reference that the text ends inside ends there.
  EXPECT_EQ(Expand("x<!unclosed"), "xunclosed");
  EXPECT_EQ(Expand("x<WinDir"), "xC:\\WINDOWS");
  EXPECT_EQ(Expand("x<!a=!b"), "xa");
}

// Every reference level and symbol indirection adds one; nothing is
// copied at depth 16, so self- and mutual references end.
TEST_F(ExpandTest, DepthLimitEndsSelfReference) {
  EXPECT_EQ(Expand("<Self>"), "xxxxxxx");
  EXPECT_EQ(Expand("<PingA>"), "abababa");
  // The innermost alternative of k nested literals is expanded at depth
  // k + 1: 14 still give the text, 15 reach depth 16 and give nothing.
  auto nest = [](int levels) {
    std::string t = "!v";
    for (int i = 0; i < levels; ++i) t = "!<" + t + ">";
    return "<" + t + ">";
  };
  EXPECT_EQ(Expand(nest(0)), "v");
  EXPECT_EQ(Expand(nest(14)), "v");
  EXPECT_EQ(Expand(nest(15)), "");
}

TEST_F(ExpandTest, ResultsAreCutAt2047Characters) {
  const std::string big(5000, 'z');
  EXPECT_EQ(Expand(big).size(), expandlimits::kMaxResult);
  fake_.env["BIG"] = big;
  EXPECT_TRUE(Expand("ab<%BIG>cd") == "ab" + big.substr(0, expandlimits::kMaxResult - 2));
  EXPECT_TRUE(Expand(std::string(2040, 'q') + "<WinDir>") == std::string(2040, 'q') + "C:\\WIND");
  // An alternative's own text is cut to 519 characters before it is used.
  EXPECT_EQ(Expand("<!" + std::string(600, 'L') + ">"), std::string(518, 'L'));
}

// Alternatives after the winner are not looked up, and an expansion that
// fans out through symbols stops after a bounded number of look-ups.
TEST(ExpandLimits, WorkIsBounded) {
  SetupScript script;
  std::string fan = "F=-1|255|";
  for (int i = 0; i < 40; ++i) fan += "<%X><F>";
  scripttest::Parse(script, "[Symbols]\n" + fan + "\n");
  SymbolTable symbols(osflags::kWinXP);
  symbols.Load(script);
  FakeLookups fake;
  EXPECT_EQ(ExpandSymbols("<F>", symbols, fake), "");  // 40^8 paths unbounded
  EXPECT_LE(fake.calls, int(expandlimits::kMaxEvaluations));

  fake.calls = 0;
  EXPECT_EQ(ExpandSymbols("<!a=%X=%Y=@HKLM\\k\\v>", symbols, fake), "a");
  EXPECT_EQ(fake.calls, 0);
}

TEST(ExpandRegistry, ReferenceIsSplitIntoRootKeyAndValue) {
  struct Case {
    const char* text;
    bool ok;
    RegRoot root;
    const char* key;
    const char* value;
  } cases[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\X\\Y", true, RegRoot::kLocalMachine, "Software\\X", "Y"},
      {"hkey_users\\.DEFAULT\\V", true, RegRoot::kUsers, ".DEFAULT", "V"},
      {"HKCR\\.txt\\", true, RegRoot::kClassesRoot, ".txt", ""},  // default value
      {"HKU\\S\\V", true, RegRoot::kUsers, "S", "V"},
      {"HKLM\\Value", true, RegRoot::kLocalMachine, "", "Value"},
      {"HKLMSoftware\\V", true, RegRoot::kLocalMachine, "Software", "V"},  // prefix
      {"HKLM\\\\Software\\V", true, RegRoot::kLocalMachine, "\\Software", "V"},
      {"HKCC\\x\\y", false, RegRoot::kLocalMachine, "", ""},
      {"", false, RegRoot::kLocalMachine, "", ""},
  };
  for (const auto& c : cases) {
    RegRoot root = RegRoot::kLocalMachine;
    std::string key, value;
    EXPECT_EQ(ParseRegistryReference(c.text, &root, &key, &value), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(root, c.root) << c.text;
    EXPECT_EQ(key, c.key) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}
