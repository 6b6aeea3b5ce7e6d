// Applying and undoing registry scripts on the in-memory registry: what
// installation writes for each mode, and that removal leaves exactly what
// was there before.
#include <gtest/gtest.h>

#include <string>

#include "registry_fake.h"
#include "regscript_test_util.h"
#include "setup/engine/regscript_apply.h"

namespace {

using kvtest::FakeRegistry;
using kvtest::FakeValue;
using kvtest::FixedContext;
using kvtest::TextScript;

constexpr RegRoot kLM = RegRoot::kLocalMachine;
const char* const kKey = "Software\\Quorlan Soft\\Kelvo Remover 2004 Lite";

std::string Sz(const std::string& s) { return s + std::string(1, '\0'); }

std::string Script(const std::string& body) {
  return "Version=2.67.1412\r\n[[Registry]]\r\nREGEDIT4\r\n"
         "[HKEY_LOCAL_MACHINE\\Software\\<Company>\\<AppTitle>]\r\n" + body;
}

// Something else under Software, so that removal has a key to stop at.
FakeRegistry Machine() {
  FakeRegistry reg;
  reg.PutString(kLM, "Software\\Other", "Keep", "yes");
  return reg;
}

struct ModeCase {
  const char* what;
  bool existed;
  FakeValue before;
  const char* line;
  FakeValue after;
  bool restored;  // removal gives back the value as it was
};

TEST(RegScriptApply, ModesApplyAndUndoExactly) {
  const std::string folder = "C:\\Program Files\\Kelvo";
  const ModeCase cases[] = {
      {"replace, new", false, {}, "\"Path\"=\"<AppFolder>\"", {kRegSz, Sz(folder)}, true},
      {"replace, existing", true, {kRegSz, Sz("old")}, "\\3|247|1\\\"Path\"=\"new\"",
       {kRegSz, Sz("new")}, false},
      {"if missing, new", false, {}, "\\3|247|0\\\"Path\"=\"new\"", {kRegSz, Sz("new")}, true},
      {"if missing, existing", true, {kRegSz, Sz("old")}, "\\3|247|0\\\"Path\"=\"new\"",
       {kRegSz, Sz("old")}, true},
      {"append with ;", true, {kRegSz, Sz("c:\\a")}, "\\3|247|2|59\\\"Path\"=\"<AppFolder>\"",
       {kRegSz, Sz("c:\\a;" + folder)}, true},
      {"append to empty", true, {kRegSz, Sz("")}, "\\3|247|2|59\\\"Path\"=\"x\"",
       {kRegSz, Sz("x")}, false},
      {"append, new", false, {}, "\\3|247|2|59\\\"Path\"=\"<AppFolder>\"", {kRegSz, Sz(folder)}, true},
      {"append without separator", true, {kRegSz, Sz("abc")}, "\\3|247|2\\\"Path\"=\"def\"",
       {kRegSz, Sz("abcdef")}, true},
      {"append keeps REG_EXPAND_SZ", true, {kRegExpandSz, Sz("%SystemRoot%")},
       "\\3|247|2|59\\\"Path\"=\"x\"", {kRegExpandSz, Sz("%SystemRoot%;x")}, true},
      {"append bytes", true, {kRegBinary, "\x01\x02"}, "\\3|247|2\\\"Path\"=hex:03,04",
       {kRegBinary, "\x01\x02\x03\x04"}, true},
      {"append multi-string", true, {kRegMultiSz, std::string("a\0\0", 3)},
       "\\3|247|2\\\"Path\"=hex(7):62,00,00", {kRegMultiSz, std::string("a\0b\0\0", 5)}, true},
      {"dword replaces string", true, {kRegSz, Sz("old")}, "\"Path\"=dword:00000010",
       {kRegDword, std::string("\x10\0\0\0", 4)}, false},
      {"no expansion", false, {}, "\\1073741827\\\"Path\"=\"<AppFolder>\"",
       {kRegSz, Sz("<AppFolder>")}, true},
      {"empty data", false, {}, "\"Path\"=", {kRegNone, ""}, true},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry reg = Machine();
    if (c.existed) reg.Put(kLM, kKey, "Path", c.before.type, c.before.data);
    const auto before = reg.Snapshot();
    TextScript s(Script(std::string(c.line) + "\r\n"));
    FixedContext ctx;
    ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
    const FakeValue* v = reg.Get(kLM, kKey, "Path");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, c.after.type);
    EXPECT_EQ(v->data, c.after.data);
    ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
    if (c.restored) {
      EXPECT_EQ(reg.Snapshot(), before);
    } else {
      // Replace owns the value: removal deletes it (and the emptied keys).
      EXPECT_FALSE(reg.Has(kLM, kKey));
    }
  }
}

// The installed script is the removal's record: a value that mode 0 left
// alone loses its remove flag, so removal cannot take it.
TEST(RegScriptApply, ExistingValueKeptByModeZeroIsRecordedInTheLine) {
  FakeRegistry reg = Machine();
  reg.PutString(kLM, kKey, "Language", "German");
  TextScript s(Script("\\3|247|0\\\"Language\"=\"English\"\r\n"));
  FixedContext ctx;
  bool changed = false;
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, &changed).ok());
  EXPECT_TRUE(changed);
  EXPECT_EQ(s.Group().sections[0]->items[0]->key, "\\1|247|0|0\\\"Language\"");
  // A fresh run of the rewritten script (as removal loads it) keeps it too.
  TextScript saved(s.script.ToText());
  ASSERT_TRUE(UndoRegScript(saved.Group(), reg, ctx).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Language"), "German");
}

TEST(RegScriptApply, SameLineTwiceAppendsTwiceAndRemovalTakesOne) {
  FakeRegistry reg = Machine();
  reg.PutString(kLM, kKey, "Path", "c:\\a");
  TextScript s(Script("\\3|247|2|59\\\"Path\"=\"x\"\r\n"));
  FixedContext ctx;
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Path"), "c:\\a;x;x");
  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Path"), "c:\\a;x");
}

// Removal takes out its own element even where the text also occurs
// inside another element earlier in the list.
TEST(RegScriptApply, AppendRemovalFindsTheWholeElement) {
  FakeRegistry reg = Machine();
  reg.PutString(kLM, kKey, "Path", "c:\\xy;d");
  TextScript s(Script("\\3|247|2|59\\\"Path\"=\"c:\\\\x\"\r\n"));
  FixedContext ctx;
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Path"), "c:\\xy;d;c:\\x");
  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Path"), "c:\\xy;d");
}

TEST(RegScriptApply, EmptiedKeysGoUpwardsButNotKeysWithOtherContent) {
  FakeRegistry reg = Machine();
  reg.PutString(kLM, "Software\\Quorlan Soft\\Other Product", "x", "1");
  const auto before = reg.Snapshot();
  TextScript s(
      "[[Registry]]\r\nREGEDIT4\r\n"
      "[HKLM\\Software\\Quorlan Soft\\Kelvo\\Sub\\Deeper]\r\n\"a\"=\"1\"\r\n"
      "[HKLM\\Software\\New Vendor\\App]\r\n@=\"default\"\r\n");
  FixedContext ctx;
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  EXPECT_EQ(reg.Text(kLM, "Software\\New Vendor\\App", ""), "default");
  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_EQ(reg.Snapshot(), before);
  EXPECT_TRUE(reg.Has(kLM, "Software\\Quorlan Soft"));
  EXPECT_FALSE(reg.Has(kLM, "Software\\New Vendor"));
}

TEST(RegScriptApply, PrefixFlagsAndOsFlags) {
  FakeRegistry reg = Machine();
  reg.PutKey(kLM, "Software\\Stale\\Empty");
  reg.PutString(kLM, "Software\\NineX", "v", "not ours");
  TextScript s(
      "[[Registry]]\r\nREGEDIT4\r\n"
      // A value without the install flag is not written; its key is.
      "[HKLM\\Software\\A]\r\n\\2\\\"skipped\"=\"1\"\r\n"
      // Removal only: nothing created, the empty key goes at removal.
      "[\\2\\HKLM\\Software\\Stale\\Empty]\r\n"
      // For the 9x family only: on XP neither applied nor undone.
      "[\\3|15\\HKLM\\Software\\NineX]\r\n\"v\"=\"9x\"\r\n"
      // A value for other systems inside a key for all.
      "[HKLM\\Software\\B]\r\n\\3|15\\\"nine\"=\"1\"\r\n\\3|240\\\"nt\"=\"1\"\r\n");
  FixedContext ctx(0x40);  // XP
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  EXPECT_TRUE(reg.Has(kLM, "Software\\A"));
  EXPECT_EQ(reg.Get(kLM, "Software\\A", "skipped"), nullptr);
  EXPECT_FALSE(reg.Has(kLM, "Software\\Stale\\Empty\\x"));
  EXPECT_EQ(reg.Text(kLM, "Software\\NineX", "v"), "not ours");
  EXPECT_EQ(reg.Get(kLM, "Software\\B", "nine"), nullptr);
  EXPECT_EQ(reg.Text(kLM, "Software\\B", "nt"), "1");

  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_FALSE(reg.Has(kLM, "Software\\A"));
  EXPECT_FALSE(reg.Has(kLM, "Software\\Stale"));
  EXPECT_EQ(reg.Text(kLM, "Software\\NineX", "v"), "not ours");
  EXPECT_FALSE(reg.Has(kLM, "Software\\B"));
}

// A key that is gone at removal (deleted by hand) does not keep the keys
// after it from being undone.
TEST(RegScriptApply, UndoGoesOnPastAMissingKey) {
  FakeRegistry reg = Machine();
  TextScript s(
      "[[Registry]]\r\nREGEDIT4\r\n[HKCU\\Software\\Gone]\r\n\"a\"=\"1\"\r\n"
      "[HKLM\\Software\\Later]\r\n\"b\"=\"2\"\r\n");
  FixedContext ctx;
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  reg.DeleteKey(RegRoot::kCurrentUser, "Software\\Gone");
  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_FALSE(reg.Has(kLM, "Software\\Later"));
}

// A malformed line stops the walk there: what came before is written,
// nothing after it.
TEST(RegScriptApply, MalformedLineStopsTheWalk) {
  struct Case {
    const char* what;
    const char* bad;
    RegScriptStatus status;
  } cases[] = {
      {"unknown form", "\"b\"=English", kRegScriptBadData},
      {"bad hex", "\"b\"=hex:0g", kRegScriptBadData},
      {"list never continued", "\"b\"=hex:01,\\", kRegScriptBadData},
      {"bad prefix", "\\3|x\\\"b\"=\"1\"", kRegScriptBadPrefix},
      {"line without =", "stray text", kRegScriptBadLine},
      {"unknown root", "[HKEY_NOWHERE\\Software]", kRegScriptUnknownRoot},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry reg = Machine();
    TextScript s(std::string("[[Registry]]\r\nREGEDIT4\r\n[HKLM\\Software\\T]\r\n\"a\"=\"1\"\r\n") +
                 c.bad + "\r\n\"c\"=\"3\"\r\n[HKLM\\Software\\U]\r\n\"d\"=\"4\"\r\n");
    FixedContext ctx;
    RegScriptResult r = ApplyRegScript(s.Group(), reg, ctx, nullptr);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.line, 5u);
    EXPECT_EQ(reg.Text(kLM, "Software\\T", "a"), "1");
    EXPECT_EQ(reg.Get(kLM, "Software\\T", "c"), nullptr);
    EXPECT_FALSE(reg.Has(kLM, "Software\\U"));
  }
}

// Script lines are cut at 4095 bytes, so long byte lists come in
// continuation lines; a list of 4097 bytes is refused whole.
TEST(RegScriptApply, OverlongDataIsRefusedAndNothingAfterIt) {
  std::string list;
  for (int i = 0; i < 4097; ++i) list += (i % 1000 == 999) ? "00,\\\r\n  " : "00,";
  FakeRegistry reg = Machine();
  TextScript s("[[Registry]]\r\nREGEDIT4\r\n[HKLM\\Software\\T]\r\n\"a\"=hex:" + list +
               "\r\n\"b\"=\"1\"\r\n");
  FixedContext ctx;
  RegScriptResult r = ApplyRegScript(s.Group(), reg, ctx, nullptr);
  EXPECT_EQ(r.status, kRegScriptDataTooLong);
  EXPECT_EQ(reg.Get(kLM, "Software\\T", "a"), nullptr);
  EXPECT_EQ(reg.Get(kLM, "Software\\T", "b"), nullptr);
}

TEST(RegScriptApply, HeaderAndWriteFailures) {
  FakeRegistry reg = Machine();
  FixedContext ctx;
  TextScript noHeader("[[Registry]]\r\n[HKLM\\Software\\T]\r\n\"a\"=\"1\"\r\n");
  EXPECT_EQ(ApplyRegScript(noHeader.Group(), reg, ctx, nullptr).status, kRegScriptNoHeader);
  EXPECT_FALSE(reg.Has(kLM, "Software\\T"));

  TextScript s("[[Registry]]\r\nREGEDIT4\r\n[HKLM\\Software\\T]\r\n\"a\"=\"1\"\r\n");
  reg.failCreate = true;
  EXPECT_EQ(ApplyRegScript(s.Group(), reg, ctx, nullptr).status, kRegScriptHandlerFailed);
  reg.failCreate = false;
  reg.failSet = true;
  RegScriptResult r = ApplyRegScript(s.Group(), reg, ctx, nullptr);
  EXPECT_EQ(r.status, kRegScriptHandlerFailed);
  EXPECT_EQ(r.line, 4u);
}

// A file's own group: no prefix test and no expansion; removal deletes
// every value and the keys it emptied.
TEST(RegScriptFileGroup, AppliedAsWrittenAndRemovedWhole) {
  FakeRegistry reg = Machine();
  reg.PutString(RegRoot::kClassesRoot, "CLSID", "keep", "1");
  const auto before = reg.Snapshot();
  TextScript s(
      "[[Kelvo Lite.exe]]\r\nREGEDIT4\r\n"
      "[HKEY_CLASSES_ROOT\\CLSID\\{1234}\\InprocServer32]\r\n"
      "@=\"<AppFolder>\\\\k.dll\"\r\n\\0|0\\\"ThreadingModel\"=\"Apartment\"\r\n"
      "\"bytes\"=hex:01,\\\r\n  02\r\n");
  ASSERT_TRUE(ApplyFileRegGroup(s.Group("Kelvo Lite.exe"), reg).ok());
  const char* key = "CLSID\\{1234}\\InprocServer32";
  EXPECT_EQ(reg.Text(RegRoot::kClassesRoot, key, ""), "<AppFolder>\\k.dll");
  EXPECT_EQ(reg.Text(RegRoot::kClassesRoot, key, "ThreadingModel"), "Apartment");
  EXPECT_EQ(reg.Get(RegRoot::kClassesRoot, key, "bytes")->data, "\x01\x02");
  ASSERT_TRUE(UndoFileRegGroup(s.Group("Kelvo Lite.exe"), reg).ok());
  EXPECT_EQ(reg.Snapshot(), before);
}

}  // namespace

#include "setup/engine/expand.h"
#include "setup/engine/symbol.h"

namespace {

// The package's own registry script with the engine's symbols: the value
// kelvolite reads, under the company and title the symbols give.
TEST(RegScriptApply, ProductPackageLineWithScriptSymbols) {
  TextScript s(
      "Version=2.67.1412\r\n[Symbols]\r\nAppTitle=2|255|Kelvo Remover 2004 Lite\r\n"
      "Company=4|255|Quorlan Soft\r\n"
      "[[Registry]]\r\nREGEDIT4\r\n"
      "[\\3|247\\HKEY_LOCAL_MACHINE\\Software\\<Company>\\<AppTitle>]\r\n"
      "\\3|247|1|59\\\"Language\"=\"English\"\r\n");
  SymbolTable symbols(0x02);  // Windows 98
  symbols.Load(s.script);
  NoSymbolLookups lookups;
  SymbolSettingsContext ctx(symbols, lookups);
  FakeRegistry reg = Machine();
  const auto before = reg.Snapshot();
  ASSERT_TRUE(ApplyRegScript(s.Group(), reg, ctx, nullptr).ok());
  EXPECT_EQ(reg.Text(kLM, kKey, "Language"), "English");
  ASSERT_TRUE(UndoRegScript(s.Group(), reg, ctx).ok());
  EXPECT_EQ(reg.Snapshot(), before);
}

}  // namespace
