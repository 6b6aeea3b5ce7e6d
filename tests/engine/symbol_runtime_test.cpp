#include <gtest/gtest.h>

#include "engine/script_test_util.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/symbol.h"
#include "setup/engine/symbol_runtime.h"

TEST(SymbolRuntime, FolderRules) {
  EXPECT_EQ(FolderOfPath("C:\\dir\\Setup.exe"), "C:\\dir");
  EXPECT_EQ(FolderOfPath("C:\\Setup.exe"), "C:");
  EXPECT_EQ(FolderOfPath("Setup.exe"), "");

  EXPECT_EQ(RootOfPath("C:\\WINDOWS"), "C:");
  EXPECT_EQ(RootOfPath("\\\\server\\share\\WINDOWS"), "\\\\server\\share");
  EXPECT_EQ(RootOfPath("\\\\server\\share"), "\\\\server\\share");

  EXPECT_EQ(TrimTrailingBackslashes("C:\\Temp\\"), "C:\\Temp");
  EXPECT_EQ(TrimTrailingBackslashes("C:\\Temp\\\\"), "C:\\Temp");
  EXPECT_EQ(TrimTrailingBackslashes("C:\\"), "C:\\");  // a bare root keeps it
  EXPECT_EQ(TrimTrailingBackslashes("C:\\\\"), "C:\\");
  EXPECT_EQ(TrimTrailingBackslashes("\\\\server\\share\\tmp\\"), "\\\\server\\share\\tmp");
}

// Placeholders in the script are replaced and written back; profile ids
// keep the script's own values where the system has no profile functions.
TEST(SymbolRuntime, SetsTheRunTimeSymbols) {
  SetupScript script;
  scripttest::Parse(script,
                    "[Symbols]\n"
                    "AppFolder=1|255|<ProgramFiles>\\Tool\n"
                    "SetupDir=10|255|(runtime)\n"
                    "Profiles=30|15|<WinDir>\n"
                    "User_Profile=38|15|<User_Desktop>\\..\n");
  SymbolTable symbols(osflags::kWin98);
  symbols.Load(script);
  RuntimeFolders f;
  f.modulePath = "D:\\pkg\\setup.exe";
  f.winDir = "C:\\WINDOWS";
  f.sysDir = "C:\\WINDOWS\\SYSTEM";
  f.tempPath = "C:\\WINDOWS\\TEMP\\";
  f.hasAllUsersProfile = true;
  f.allUsersProfile = "C:\\WINDOWS\\All Users";
  EXPECT_EQ(SetRuntimeSymbols(symbols, f), "<ProgramFiles>\\Tool");

  EXPECT_EQ(symbols.Value(kSymSetupDir), "D:\\pkg");
  EXPECT_EQ(symbols.Value(kSymWinDir), "C:\\WINDOWS");
  EXPECT_EQ(symbols.Value(kSymWinDrive), "C:");
  EXPECT_EQ(symbols.Value(kSymWinSysDir), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(symbols.Value(kSymTempDir), "C:\\WINDOWS\\TEMP");
  EXPECT_EQ(symbols.Value(kSymProfiles), "<WinDir>");
  EXPECT_EQ(symbols.Value(kSymUserProfile), "<User_Desktop>\\..");
  EXPECT_EQ(symbols.Value(kSymCommonProfile), "C:\\WINDOWS\\All Users");
  EXPECT_EQ(script.Section("Symbols")->GetText("SetupDir"), "10|255|D:\\pkg");
}
