// The App Paths entry on the running system: short paths on the 9x
// family, long ones on NT, removed with the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "registry_win_util.h"
#include "setup/engine/app_paths.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "support/wine_persona.h"

namespace {

TEST(AppPathsWin, RegisteredForTheSystemAndRemovedWithTheProgram) {
  const std::string dir = kvtest::TestFolder("kv app paths folder");
  const std::string exe = dir + "\\Kelvo Lite Test.exe";
  kvtest::WriteFileText(exe, "MZ");
  std::string text =
      "[Install]\r\nOptions=256\r\nPath=" + exe + "\r\nPathList=" + dir + "\r\n";
  SetupScript script;
  LoadScriptMemory(script, text.data(), text.size());
  kvtest::RunningContext context;
  ASSERT_TRUE(RegisterAppPathsFromScript(*script.Section("Install"), context));

  const std::string key = std::string(kAppPathsKey) + "\\Kelvo Lite Test.exe";
  char shortExe[MAX_PATH], shortDir[MAX_PATH];
  ASSERT_NE(GetShortPathNameA(exe.c_str(), shortExe, MAX_PATH), 0u);
  ASSERT_NE(GetShortPathNameA(dir.c_str(), shortDir, MAX_PATH), 0u);
  bool nine = kvtest::PersonaFamily() == kvtest::Family::Win9x;
  std::string wantExe = nine ? shortExe : exe;
  std::string wantDir = nine ? shortDir : dir;
  EXPECT_EQ(kvtest::ReadValue(HKEY_LOCAL_MACHINE, key, "").data, wantExe + '\0');
  EXPECT_EQ(kvtest::ReadValue(HKEY_LOCAL_MACHINE, key, "Path").data, wantDir + '\0');
  if (nine) {
    EXPECT_NE(wantExe, exe);
  }

  // Another program of the same name is not touched; ours goes.
  EXPECT_FALSE(RemoveAppPathsEntryForFile("C:\\Elsewhere\\Kelvo Lite Test.exe"));
  EXPECT_TRUE(RemoveAppPathsEntryForFile(exe));
  EXPECT_EQ(kvtest::DumpKey(HKEY_LOCAL_MACHINE, key), "<missing>");

  // Without option 0x100 nothing is written.
  script.Section("Install")->SetText("Options", "0");
  ASSERT_TRUE(RegisterAppPathsFromScript(*script.Section("Install"), context));
  EXPECT_EQ(kvtest::DumpKey(HKEY_LOCAL_MACHINE, key), "<missing>");

  DeleteFileA(exe.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
