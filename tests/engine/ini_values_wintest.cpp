// [INI Values] on real INI files through the private-profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry_win_util.h"
#include "setup/engine/ini_values.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

namespace {

std::string Profile(const std::string& file, const char* section, const char* key) {
  char buf[2048];
  GetPrivateProfileStringA(section, key, "", buf, sizeof buf, file.c_str());
  return buf;
}

TEST(IniValuesWin, ApplyThenUndoOnRealFiles) {
  const std::string dir = kvtest::TestFolder("kv_ini_values");
  const std::string existing = dir + "\\old.ini";
  const std::string created = dir + "\\new.ini";
  kvtest::WriteFileText(existing, "; kept comment\r\n[Ext]\r\nList=a,b\r\nKeep=theirs\r\n");
  DeleteFileA(created.c_str());

  std::string text =
      "[INI Values]\r\n"
      "Value=0|255|2|44|0|" + existing + "|Ext|List|<AppFolder>\r\n"
      "Value=0|255|0|0|0|" + existing + "|Ext|Keep|mine\r\n"
      "Value=0|255|1|0|0|" + existing + "|Mine|Home|<AppFolder>\r\n"
      "Value=0|255|1|0|0|" + created + "|Settings|Home|<AppFolder>\r\n"
      "Value=0|255|1|0|0|" + created + "|Settings|Lang|English\r\n";
  SetupScript script;
  LoadScriptMemory(script, text.data(), text.size());
  kvtest::RunningContext context;
  IniValuesPass p = ApplyIniValues(*script.Section("INI Values"), SystemIniFiles(), context);
  EXPECT_EQ(p.linesDone, 4);
  EXPECT_EQ(Profile(existing, "Ext", "List"), "a,b,C:\\Program Files\\Kelvo");
  EXPECT_EQ(Profile(existing, "Ext", "Keep"), "theirs");
  EXPECT_EQ(Profile(existing, "Mine", "Home"), "C:\\Program Files\\Kelvo");
  EXPECT_EQ(Profile(created, "Settings", "Lang"), "English");

  std::string saved = script.ToText();
  LoadScriptMemory(script, saved.data(), saved.size());
  p = UndoIniValues(*script.Section("INI Values"), SystemIniFiles(), context);
  EXPECT_EQ(p.linesDone, 4);
  EXPECT_EQ(Profile(existing, "Ext", "List"), "a,b");
  EXPECT_EQ(Profile(existing, "Ext", "Keep"), "theirs");
  char sections[256] = {};
  GetPrivateProfileSectionNamesA(sections, sizeof sections, existing.c_str());
  EXPECT_STREQ(sections, "Ext");
  EXPECT_STREQ(sections + 4, "");  // [Mine] went with its last value
  EXPECT_NE(kvtest::ReadFileText(existing).find("; kept comment"), std::string::npos);
  // The file the installation made is gone with its last value.
  EXPECT_FALSE(kvtest::Exists(created));

  DeleteFileA(existing.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
