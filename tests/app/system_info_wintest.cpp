#include "setup/app/system_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_test_files.h"
#include "setup/app/setup_log.h"
#include "setup/app/version_resource.h"
#include "support/wine_persona.h"

TEST(SystemInfoWin, PersonaMapsToItsClassAndName) {
  const std::string persona = kvtest::Persona();
  struct Expect {
    const char* persona;
    int systemClass;
    bool nt;
    const char* namePrefix;
  } table[] = {
      {"win98", kClass98, false, "Windows 98 A "},
      {"win2k", kClass2000, true, "Windows 2000 Service Pack 4 (5.0.2195)"},
      {"winxp", kClassXP, true, "Windows XP "},
      {"default", kClassLater, true, "Windows NT "},
  };
  bool found = false;
  for (const Expect& e : table) {
    if (persona != e.persona) continue;
    found = true;
    int level = -1;
    EXPECT_EQ(SystemClassOf(&level), e.systemClass);
    EXPECT_EQ(IsNtFamily(), e.nt);
    EXPECT_EQ(SystemDisplayName().rfind(e.namePrefix, 0), 0u)
        << SystemDisplayName();
    if (persona == "win98") {
      EXPECT_EQ(level, 1);
    } else if (persona == "win2k") {
      EXPECT_EQ(level, 4);
    }
  }
  EXPECT_TRUE(found) << "no expectation for persona " << persona;
}

TEST(SystemInfoWin, UserIsAdministrator) {
  // 9x has no rights to test; Wine's user may open the service manager.
  EXPECT_TRUE(UserIsAdministrator());
}

TEST(SystemInfoWin, StartOfRunEntriesNameTheSystemAndTheRights) {
  SetupLog& log = SetupLog::Instance();
  log.Close();
  const std::string path = apptest::TempFolder() + "app_wintests.log";
  DeleteFileA(path.c_str());
  LogSystemAtStart();
  const std::string text = apptest::ReadWholeFile(path);
  const std::string version =
      "01000001|" + WindowsVersionLogText(CurrentWindowsVersion()) + "\r\n";
  EXPECT_NE(text.find(version), std::string::npos) << text;
  EXPECT_TRUE(apptest::EndsWith(text, "01000002\r\n")) << text;
  const char* family = IsNtFamily() ? "|Windows NT " : "|Windows 4.";
  EXPECT_NE(text.find(family), std::string::npos) << text;
}

TEST(VersionResourceWin, ReadsFixedVersionAndStringsOfASystemDll) {
  char path[MAX_PATH] = "";
  GetSystemDirectoryA(path, MAX_PATH);
  lstrcatA(path, "\\kernel32.dll");
  VersionResource vr;
  ASSERT_TRUE(vr.Load(path));
  uint32_t high = 0, low = 0;
  ASSERT_TRUE(vr.FileVersion(&high, &low));
  EXPECT_GE(high >> 16, 4u);
  EXPECT_NE(vr.Translation(), 0u);
  EXPECT_FALSE(vr.String("FileVersion").empty());
  EXPECT_TRUE(vr.String("NoSuchValue").empty());
}

TEST(VersionResourceWin, FilesWithoutAResourceGiveNothing) {
  const std::string missing = apptest::TempFolder() + "no_such_file.dll";
  const std::string self = apptest::ModulePath();
  for (const std::string& path : {missing, self}) {
    VersionResource vr;
    EXPECT_FALSE(vr.Load(path.c_str())) << path;
    uint32_t high = 0, low = 0;
    EXPECT_FALSE(vr.FileVersion(&high, &low));
    EXPECT_TRUE(vr.String("ProductName").empty());
    EXPECT_EQ(vr.Translation(), 0x040904B0u);
  }
}
