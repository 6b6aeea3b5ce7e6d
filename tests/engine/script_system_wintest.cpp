// The script's symbols against the real system of each persona: the OS
// flag of the running Windows, the run-time folders and the registry,
// environment and INI look-ups of <...> references.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/script_test_util.h"
#include "setup/engine/expand.h"
#include "setup/engine/expand_system_lookups.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script_languages.h"
#include "setup/engine/symbol.h"
#include "setup/engine/symbol_runtime.h"
#include "support/wine_persona.h"

namespace {

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

const char kTestKey[] = "Software\\Quorlan Soft\\ScriptSystemTest";

class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key_, nullptr),
              ERROR_SUCCESS);
    SetString("Sz", REG_SZ, "plain", 6);
    SetString("", REG_SZ, "default value", 14);
    SetString("Expand", REG_EXPAND_SZ, "%KV_SCRIPT_TEST%\\sub", 21);
    SetString("Multi", REG_MULTI_SZ, "first\0second\0", 14);
    SetString("Empty", REG_SZ, "", 1);
    DWORD number = 42;
    RegSetValueExA(key_, "Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    SetEnvironmentVariableA("KV_SCRIPT_TEST", "C:\\from env");
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
    SetEnvironmentVariableA("KV_SCRIPT_TEST", nullptr);
  }
  void SetString(const char* name, DWORD type, const char* data, DWORD size) {
    RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data), size);
  }

  HKEY key_ = nullptr;
};

}  // namespace

TEST(ScriptSystem, OsFlagMatchesThePersona) {
  const std::string p = kvtest::Persona();
  uint32_t expected = 0;
  if (p == "win98") expected = osflags::kWin98;
  else if (p == "win2k") expected = osflags::kWin2000;
  else if (p == "winxp") expected = osflags::kWinXP;
  else if (p == "default") expected = osflags::kNTLater;
  ASSERT_NE(expected, 0u) << "persona " << p;
  EXPECT_EQ(RunningOsFlag(), expected);
  EXPECT_TRUE(OsFlagsMatch(kvtest::PersonaFamily() == kvtest::Family::Win9x ? osflags::kFamily9x
                                                                           : osflags::kFamilyNT));
}

// A package's [Symbols] with lines per family: the running system picks
// its own, and the run-time symbols name real folders.
TEST(ScriptSystem, RunTimeSymbolsAreRealFolders) {
  SetupScript script;
  scripttest::Parse(script,
                    "[Symbols]\n"
                    "AppFolder=1|255|<ProgramFiles>\\Kelvo\n"
                    "ProgramFiles=-1|255|<@HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                    "ProgramFilesDir=!<WinDrive>\\Program Files>\n"
                    "SetupDir=10|255|(runtime)\n"
                    "Profiles=30|15|<WinDir>\n"
                    "Profiles=30|240|(runtime)\n");
  SymbolTable symbols(RunningOsFlag());
  symbols.Load(script);
  RuntimeFolders folders;
  ASSERT_TRUE(ReadRuntimeFolders(&folders));
  EXPECT_EQ(SetRuntimeSymbols(symbols, folders), "<ProgramFiles>\\Kelvo");

  SystemSymbolLookups system;
  for (int32_t id : {kSymSetupDir, kSymWinDir, kSymWinSysDir, kSymTempDir}) {
    const std::string value = ExpandSymbol(id, symbols, system);
    EXPECT_TRUE(IsFolder(value)) << id << ": " << value;
  }
  EXPECT_EQ(ExpandSymbol(kSymWinDrive, symbols, system), "C:");
  EXPECT_NE(symbols.Value(kSymTempDir).back(), '\\');
  EXPECT_EQ(script.Section("Symbols")->GetText("SetupDir"),
            "10|255|" + FolderOfPath(folders.modulePath));
  EXPECT_TRUE(IsFolder(ExpandSymbol(kSymProfiles, symbols, system)));
  if (folders.hasUserProfile) {
    EXPECT_TRUE(IsFolder(folders.userProfile)) << folders.userProfile;
  }
  if (folders.hasAllUsersProfile) {
    EXPECT_TRUE(IsFolder(folders.allUsersProfile)) << folders.allUsersProfile;
  }
  if (kvtest::PersonaFamily() == kvtest::Family::WinNT) {
    // Wine has no All Users profile entry, so only these two are certain.
    EXPECT_TRUE(folders.hasProfiles);
    EXPECT_TRUE(folders.hasUserProfile);
  }
  // The program files folder comes from the registry, as packages ask.
  const std::string appFolder = ExpandSymbol(kSymAppFolder, symbols, system);
  EXPECT_TRUE(IsFolder(FolderOfPath(appFolder))) << appFolder;
}

TEST_F(RegistryFixture, RegistryValuesByType) {
  SymbolTable symbols(RunningOsFlag());
  SystemSymbolLookups system;
  const std::string at = std::string("<@HKEY_CURRENT_USER\\") + kTestKey + "\\";
  struct Case {
    const char* value;
    const char* expected;
  } cases[] = {
      {"Sz>", "plain"},
      {">", "default value"},
      {"Expand>", "C:\\from env\\sub"},
      {"Multi>", "first"},
      {"Empty=!fallback>", "fallback"},
      {"Dword=!fallback>", "fallback"},
      {"Missing=!fallback>", "fallback"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandSymbols(at + c.value, symbols, system), c.expected) << c.value;
  }
  EXPECT_EQ(ExpandSymbols("<@HKCU\\Software\\No Such Key\\V=!none>", symbols, system), "none");
}

TEST_F(RegistryFixture, EnvironmentAndIniValues) {
  SymbolTable symbols(RunningOsFlag());
  SystemSymbolLookups system;
  EXPECT_EQ(ExpandSymbols("<%KV_SCRIPT_TEST>\\x", symbols, system), "C:\\from env\\x");
  EXPECT_EQ(ExpandSymbols("<%KV_NOT_SET_ANYWHERE=!unset>", symbols, system), "unset");

  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(sizeof(temp), temp), 0u);
  const std::string ini = std::string(temp) + "kv_script_test.ini";
  ASSERT_TRUE(WritePrivateProfileStringA("Paths", "Data", "D:\\data", ini.c_str()));
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());  // flush the cache
  EXPECT_EQ(ExpandSymbols("<#" + ini + "?Paths?Data>", symbols, system), "D:\\data");
  EXPECT_EQ(ExpandSymbols("<#" + ini + "?Paths?Missing=!no>", symbols, system), "no");
  DeleteFileA(ini.c_str());
}

TEST(ScriptSystem, EnglishLocaleIsInstalled) {
  EXPECT_TRUE(LocaleInstalled(0x0409));
  EXPECT_FALSE(LocaleInstalled(0x0000));
}
