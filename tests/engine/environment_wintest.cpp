// [Environment] against the running system: the Environment key with
// REG_EXPAND_SZ on the NT family, AUTOEXEC.BAT on the 9x family.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry_win_util.h"
#include "setup/engine/environment.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "support/wine_persona.h"

namespace {

const char* const kEnvKey = kEnvironmentKeyPath;

struct EnvScript {
  explicit EnvScript(const std::string& lines) {
    std::string text = "[Environment]\r\n" + lines;
    LoadScriptMemory(script, text.data(), text.size());
  }
  ScriptSection& Env() { return *script.Section("Environment"); }
  // What the removal run reads: the script as saved.
  void Reload() {
    std::string text = script.ToText();
    LoadScriptMemory(script, text.data(), text.size());
  }
  SetupScript script;
};

TEST(EnvironmentWin, NtRegistryApplyAndUndo) {
  if (kvtest::PersonaFamily() == kvtest::Family::Win9x) GTEST_SKIP() << "9x: AUTOEXEC.BAT";
  kvtest::PutString(HKEY_LOCAL_MACHINE, kEnvKey, "KVPATH", "%SystemRoot%\\a", REG_EXPAND_SZ);
  const std::string before = kvtest::DumpKey(HKEY_LOCAL_MACHINE, kEnvKey);
  EnvScript s(
      "KVPATH=0|255|2|59|0|<AppFolder>\r\n"
      "KVHOME=0|255|1|0|0|<AppFolder>\r\n"
      "KVTEMP=0|255|1|0|0|%TEMP%\\kv\r\n");
  kvtest::RunningContext context;
  EnvironmentPass p = ApplyEnvironment(s.Env(), SystemRegistry(), context, "C:");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.linesDone, 3);
  auto path = kvtest::ReadValue(HKEY_LOCAL_MACHINE, kEnvKey, "KVPATH");
  EXPECT_EQ(path.type, REG_EXPAND_SZ);
  EXPECT_EQ(path.data, std::string("%SystemRoot%\\a;C:\\Program Files\\Kelvo") + '\0');
  EXPECT_EQ(kvtest::ReadValue(HKEY_LOCAL_MACHINE, kEnvKey, "KVHOME").type, REG_SZ);
  EXPECT_EQ(kvtest::ReadValue(HKEY_LOCAL_MACHINE, kEnvKey, "KVTEMP").type, REG_EXPAND_SZ);

  s.Reload();
  p = UndoEnvironment(s.Env(), SystemRegistry(), context, "C:");
  EXPECT_EQ(p.linesDone, 3);
  EXPECT_EQ(kvtest::DumpKey(HKEY_LOCAL_MACHINE, kEnvKey), before);
  kvtest::DeleteValue(HKEY_LOCAL_MACHINE, kEnvKey, "KVPATH");
}

TEST(EnvironmentWin, AutoexecOn9x) {
  if (kvtest::PersonaFamily() != kvtest::Family::Win9x) GTEST_SKIP() << "NT: the registry";
  const std::string autoexec = "C:\\AUTOEXEC.BAT";
  const std::string original =
      "@ECHO OFF\r\nPATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nSET TEMP=C:\\TEMP\r\n";
  kvtest::WriteFileText(autoexec, original);
  SetFileAttributesA(autoexec.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EnvScript s(
      "PATH=0|15|2|59|0|<AppFolder>\r\n"
      "KVHOME=0|15|1|0|0|<AppFolder>\r\n"
      "TEMP=0|15|0|0|0|C:\\ELSEWHERE\r\n");
  kvtest::RunningContext context;
  EnvironmentPass p = ApplyEnvironment(s.Env(), SystemRegistry(), context, "C:");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.linesDone, 2);
  EXPECT_EQ(kvtest::ReadFileText(autoexec),
            "@ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\Program Files\\Kelvo\r\n"
            "SET TEMP=C:\\TEMP\r\nSET KVHOME=C:\\Program Files\\Kelvo\r\n\r\n");
  // Nothing is left beside it.
  EXPECT_FALSE(kvtest::Exists(autoexec + ".kv$"));

  s.Reload();
  p = UndoEnvironment(s.Env(), SystemRegistry(), context, "C:");
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(kvtest::ReadFileText(autoexec),
            "@ECHO OFF\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nSET TEMP=C:\\TEMP\r\n\r\n");
}

TEST(EnvironmentWin, AutoexecMissingIsCreated) {
  const std::string dir = kvtest::TestFolder("kv_env_missing");
  const std::string file = dir + "\\AUTOEXEC.BAT";
  DeleteFileA(file.c_str());
  EnvScript s("KVHOME=0|255|1|0|0|C:\\KV\r\n");
  kvtest::RunningContext context;
  EnvironmentPass p = UpdateAutoexecFile(s.Env(), context, file, true);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(kvtest::ReadFileText(file), "SET KVHOME=C:\\KV\r\n\r\n");
  s.Reload();
  p = UpdateAutoexecFile(s.Env(), context, file, false);
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(kvtest::ReadFileText(file), "");
  DeleteFileA(file.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
