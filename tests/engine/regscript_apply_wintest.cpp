// A registry script applied to and undone from the real registry: the
// values as Windows stores them, and removal leaving the tree as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry_win_util.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/script_io.h"

namespace {

const char* const kBase = "Software\\KvRegScriptTest";

class RegScriptWin : public ::testing::Test {
 protected:
  void SetUp() override {
    kvtest::DeleteTree(HKEY_CURRENT_USER, kBase);
    kvtest::PutString(HKEY_CURRENT_USER, std::string(kBase) + "\\Other", "Keep", "theirs");
    kvtest::PutString(HKEY_CURRENT_USER, std::string(kBase) + "\\App", "Path", "c:\\a");
    kvtest::PutString(HKEY_CURRENT_USER, std::string(kBase) + "\\App", "Language", "German");
    kvtest::PutString(HKEY_CURRENT_USER, std::string(kBase) + "\\App", "Home", "%WINDIR%",
                      REG_EXPAND_SZ);
  }
  void TearDown() override { kvtest::DeleteTree(HKEY_CURRENT_USER, kBase); }

  void Load(const std::string& text) { LoadScriptMemory(script_, text.data(), text.size()); }
  ScriptGroup& Group() { return *script_.FindGroup("Registry"); }

  SetupScript script_;
  kvtest::RunningContext context_;
};

TEST_F(RegScriptWin, ApplyThenUndoLeavesTheTreeAsItWas) {
  const std::string before = kvtest::DumpKey(HKEY_CURRENT_USER, kBase);
  Load(
      "[[Registry]]\r\nREGEDIT4\r\n"
      "[HKEY_CURRENT_USER\\Software\\KvRegScriptTest\\App]\r\n"
      "\\3|247|2|59\\\"Path\"=\"<AppFolder>\"\r\n"
      "\\3|247|0\\\"Language\"=\"English\"\r\n"
      "\\3|247|2|59\\\"Home\"=\"x\"\r\n"
      "[HKCU\\Software\\KvRegScriptTest\\New\\Deep]\r\n"
      "@=\"default\"\r\n"
      "\"count\"=dword:0000002a\r\n"
      "\"bytes\"=hex:01,02,\\\r\n  03,04,\\\r\n  05\r\n"
      "\"list\"=hex(7):61,00,62,00,00\r\n"
      "\"expand\"=hex(2):25,57,49,4e,44,49,52,25,00\r\n");
  bool changed = false;
  RegScriptResult r = ApplyRegScript(Group(), SystemRegistry(), context_, &changed);
  ASSERT_TRUE(r.ok()) << RegScriptStatusText(r.status) << " at line " << r.line;

  const std::string app = std::string(kBase) + "\\App";
  const std::string deep = std::string(kBase) + "\\New\\Deep";
  auto path = kvtest::ReadValue(HKEY_CURRENT_USER, app, "Path");
  EXPECT_EQ(path.type, REG_SZ);
  EXPECT_EQ(path.data, std::string("c:\\a;C:\\Program Files\\Kelvo") + '\0');
  EXPECT_EQ(kvtest::ReadValue(HKEY_CURRENT_USER, app, "Language").data, std::string("German") + '\0');
  EXPECT_EQ(kvtest::ReadValue(HKEY_CURRENT_USER, app, "Home").type, REG_EXPAND_SZ);
  EXPECT_EQ(kvtest::ReadValue(HKEY_CURRENT_USER, deep, "").data, std::string("default") + '\0');
  auto count = kvtest::ReadValue(HKEY_CURRENT_USER, deep, "count");
  EXPECT_EQ(count.type, REG_DWORD);
  EXPECT_EQ(count.data, std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(kvtest::ReadValue(HKEY_CURRENT_USER, deep, "bytes").data, "\x01\x02\x03\x04\x05");
  auto list = kvtest::ReadValue(HKEY_CURRENT_USER, deep, "list");
  EXPECT_EQ(list.type, REG_MULTI_SZ);
  EXPECT_EQ(list.data, std::string("a\0b\0\0", 5));
  EXPECT_EQ(kvtest::ReadValue(HKEY_CURRENT_USER, deep, "expand").type, REG_EXPAND_SZ);
  EXPECT_TRUE(changed);  // the mode 0 line gave up its remove flag

  // Removal works from the script as saved into the application folder.
  SetupScript saved;
  std::string text = script_.ToText();
  LoadScriptMemory(saved, text.data(), text.size());
  r = UndoRegScript(*saved.FindGroup("Registry"), SystemRegistry(), context_);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(kvtest::DumpKey(HKEY_CURRENT_USER, kBase), before);
  EXPECT_EQ(kvtest::DumpKey(HKEY_CURRENT_USER, std::string(kBase) + "\\New"), "<missing>");
}

}  // namespace
