#include <gtest/gtest.h>

#include "engine/script_test_util.h"
#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/symbol.h"

using scripttest::Parse;

namespace {

const char kSymbols[] =
    "[Symbols]\n"
    "Programs=31|15|<User_Programs>\n"
    "Programs=31|240|<Common_Programs>\n"
    "Common_Programs=-1|240|C:\\All Users\\Programs\n"
    "User_Programs=-1|15|C:\\WINDOWS\\Start Menu\\Programs\n"
    "Only98=40|2|ninety-eight\n"
    "Short=41|255\n"
    "Extra=42|255|value|ignored|fields\n"
    "Profiles=30|255|C:\\Profiles\n"
    "Profile=43|255|mine\n"
    "; comment\n"
    "AppFolder=1|255|C:\\Tool\n";

}  // namespace

TEST(ScriptSymbols, LinesApplyOnlyToTheirSystems) {
  struct Case {
    uint32_t running;
    const char* programs;
    bool has98;
  } cases[] = {
      {osflags::kWin98, "C:\\WINDOWS\\Start Menu\\Programs", true},
      {osflags::kWin95, "C:\\WINDOWS\\Start Menu\\Programs", false},
      {osflags::kWinXP, "C:\\All Users\\Programs", false},
      {osflags::kNTLater, "C:\\All Users\\Programs", false},
  };
  for (const auto& c : cases) {
    SetupScript script;
    Parse(script, kSymbols);
    SymbolTable symbols(c.running);
    symbols.Load(script);
    NoSymbolLookups none;
    EXPECT_EQ(ExpandSymbol(kSymPrograms, symbols, none), c.programs) << c.running;
    EXPECT_EQ(symbols.ByName("only98") != nullptr, c.has98) << c.running;
    // The other family's symbol is not there, so a reference gives nothing.
    const char* otherFamily =
        OsFlagsMatch(osflags::kFamily9x, c.running) ? "<Common_Programs>" : "<User_Programs>";
    EXPECT_EQ(ExpandSymbols(otherFamily, symbols, none), "") << c.running;
  }
}

TEST(ScriptSymbols, FieldsAndLookups) {
  SetupScript script;
  Parse(script, kSymbols);
  SymbolTable symbols(osflags::kWinXP);
  symbols.Load(script);
  EXPECT_EQ(symbols.ByName("Short"), nullptr);  // fewer than three fields
  ASSERT_NE(symbols.ByName("EXTRA"), nullptr);
  EXPECT_EQ(symbols.ByName("extra")->value, "value");
  EXPECT_EQ(symbols.ByName("extra")->id, 42);
  EXPECT_EQ(symbols.ByName("Profile")->value, "mine");  // whole names only
  EXPECT_EQ(symbols.ByName("Profiles")->value, "C:\\Profiles");
  EXPECT_EQ(symbols.ByName("Prof"), nullptr);
  EXPECT_EQ(symbols.ByName(""), nullptr);
  EXPECT_EQ(symbols.Value(kSymAppFolder), "C:\\Tool");
  EXPECT_EQ(symbols.Value(999), "");
  EXPECT_EQ(symbols.ById(-1)->name, "Common_Programs");  // first in table order
}

// Changing a value rewrites its own line; unchanged lines stay as written;
// a symbol new by name gets a line, one new by id (run time) does not.
TEST(ScriptSymbols, ChangedValuesAreWrittenBack) {
  SetupScript script;
  Parse(script, kSymbols);
  SymbolTable symbols(osflags::kWinXP);
  symbols.Load(script);
  symbols.SetValue(kSymAppFolder, "D:\\Apps\\Tool");
  symbols.SetValue(kSymTempDir, "C:\\Temp");
  symbols.SetValue("UninstallPrev", "Tool 1.0");
  symbols.SetValue("extra", "changed");

  const ScriptSection& sec = *script.Section("Symbols");
  EXPECT_EQ(sec.GetText("AppFolder"), "1|255|D:\\Apps\\Tool");
  EXPECT_EQ(sec.GetText("Extra"), "42|255|changed");
  EXPECT_EQ(sec.GetText("Programs"), "31|15|<User_Programs>");  // untouched
  EXPECT_EQ(sec.items.back()->key, "UninstallPrev");
  EXPECT_EQ(sec.items.back()->value, "-1|255|Tool 1.0");
  EXPECT_EQ(symbols.ById(kSymTempDir)->name, "");
  EXPECT_EQ(symbols.ById(kSymTempDir)->item, nullptr);
  EXPECT_EQ(symbols.Value(kSymTempDir), "C:\\Temp");
  EXPECT_EQ(symbols.All().back()->name, "UninstallPrev");  // appended in order

  // Read again: the saved script gives the changed values.
  SetupScript back;
  Parse(back, script.ToText());
  SymbolTable again(osflags::kWinXP);
  again.Load(back);
  EXPECT_EQ(again.Value(kSymAppFolder), "D:\\Apps\\Tool");
  EXPECT_EQ(again.ByName("UninstallPrev")->value, "Tool 1.0");
}

TEST(ScriptSymbols, OsFlagOfEachSystemClass) {
  const uint32_t expected[] = {0x01, 0x02, 0x04, 0x10, 0x20, 0x40, 0x80};
  for (int cls = 0; cls < 7; ++cls) EXPECT_EQ(OsFlagForSystemClass(cls), expected[cls]) << cls;
  EXPECT_EQ(OsFlagForSystemClass(-1), 0u);  // unknown systems match no line
  EXPECT_EQ(OsFlagForSystemClass(7), 0u);
  EXPECT_TRUE(OsFlagsMatch(osflags::kFamily9x, OsFlagForSystemClass(2)));
  EXPECT_FALSE(OsFlagsMatch(osflags::kFamily9x, OsFlagForSystemClass(3)));
  EXPECT_TRUE(OsFlagsMatch(osflags::kFileDefault, OsFlagForSystemClass(6)));
  EXPECT_FALSE(OsFlagsMatch(osflags::kAll, OsFlagForSystemClass(-1)));
}
