// KelvoLiteSetup.exe installed quietly on Windows 98, 2000 and XP: the
// build of the running family as "Kelvo Lite.exe", help, icon and hint
// file beside it, the run-time DLLs in the system folder counted under
// SharedDLLs, the program group and desktop shortcut, the "Language" value,
// the uninstall entry and the bare Setup.exe; then removal through the
// uninstall entry's own command leaves nothing of the package behind,
// except run-time DLLs that another installation counted as well.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/package_fixture.h"
#include "support/wine_persona.h"

namespace e2e {
namespace {

const char kAppLink[] = "Kelvo Remover 2004 Lite.lnk";
const char kUninstallLink[] = "Uninstall Kelvo Remover 2004 Lite.lnk";

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

uint32_t Word(const Bytes& b, size_t at) {
  return b.size() < at + 4 ? 0 : uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                                     uint32_t(b[at + 3]) << 24;
}

class PackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ASSERT_FALSE(Exists(AppFolder())) << "left over by an earlier test";
  }
  void TearDown() override { CoUninitialize(); }

  static std::string SystemDll(const std::string& name) { return SystemFolder() + "\\" + name; }

  static int InstallQuietly() {
    const std::string package = PackagePath();
    return RunProgram("\"" + package + "\" /q /b0", package.substr(0, package.rfind('\\')));
  }

  // The uninstall entry's command as registered, run quietly; then the
  // self-delete helper gets the folder once setup has ended.
  static void RemoveThroughTheUninstallEntry() {
    std::string command;
    ASSERT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", command));
    EXPECT_EQ(RunProgram(command + " /q /b0", ""), 0) << command;
    EXPECT_TRUE(WaitForHelper()) << "the helper left " << AppFolder();
  }

  void ExpectProductFiles() {
    const std::string app = AppFolder();
    const bool nt = kvtest::PersonaFamily() == kvtest::Family::WinNT;
    EXPECT_TRUE(ReadFile(app + "\\Kelvo Lite.exe") == ReadFile(KelvoliteBuild(nt)))
        << "expected the " << (nt ? "NT" : "9x") << " build";
    EXPECT_FALSE(ReadFile(app + "\\Kelvo Lite.exe") == ReadFile(KelvoliteBuild(!nt)));
    EXPECT_TRUE(ReadFile(app + "\\lang.lng") == ReadFile(SourceFile("kelvolite/res/lang.lng")));
    EXPECT_TRUE(ReadFile(app + "\\kelvolite2.ico") == ReadFile(SourceFile("kelvolite/res/kelvolite2.ico")));
    EXPECT_FALSE(ReadFile(app + "\\Kelvo Remover 2004.chm").empty());
    EXPECT_TRUE(Exists(app + "\\Setup.ini"));
  }

  // The installed Setup.exe is the package cut at the stamped archive
  // offset: the stub as built, only its stamp words set.
  void ExpectBareSetupProgram() {
    const Bytes installed = ReadFile(AppFolder() + "\\Setup.exe");
    const Bytes package = ReadFile(PackagePath());
    Bytes stub = ReadFile(StubPath());
    ASSERT_FALSE(stub.empty());
    const uint32_t archiveAt = Word(package, 0x1C);
    EXPECT_EQ(archiveAt, stub.size());
    ASSERT_EQ(installed.size(), stub.size());
    EXPECT_TRUE(std::equal(installed.begin(), installed.end(), package.begin()));
    for (size_t at : {size_t(0x1C), size_t(0x20), size_t(0x78), size_t(0x7C)})
      for (size_t i = 0; i < 4; ++i) stub[at + i] = installed[at + i];
    EXPECT_TRUE(installed == stub) << "Setup.exe differs from setup.exe outside the stamp";
  }

  void ExpectShortcuts() {
    const std::string app = AppFolder();
    const std::string group = ProgramGroup();
    std::vector<std::string> links = FolderNames(group);
    std::sort(links.begin(), links.end());
    EXPECT_EQ(links, (std::vector<std::string>{kAppLink, kUninstallLink})) << group;

    const Link program = ReadLink(group + "\\" + kAppLink);
    ASSERT_TRUE(program.loaded);
    EXPECT_TRUE(SamePath(program.path, app + "\\Kelvo Lite.exe")) << program.path;
    EXPECT_TRUE(SamePath(program.workDir, app)) << program.workDir;
    EXPECT_EQ(program.arguments, "");
    EXPECT_EQ(program.showCommand, SW_SHOWNORMAL);

    const Link uninstall = ReadLink(group + "\\" + kUninstallLink);
    ASSERT_TRUE(uninstall.loaded);
    EXPECT_TRUE(SamePath(uninstall.path, app + "\\Setup.exe")) << uninstall.path;
    EXPECT_EQ(uninstall.arguments, "/remove");
    EXPECT_TRUE(SamePath(uninstall.iconPath, app + "\\kelvolite2.ico")) << uninstall.iconPath;
    EXPECT_EQ(uninstall.iconIndex, 0);

    // One desktop shortcut, on the desktop the package chose.
    int onDesktops = 0;
    for (const std::string& desktop : AllDesktopFolders()) {
      onDesktops += int(Exists(desktop + "\\" + kAppLink));
      EXPECT_FALSE(Exists(desktop + "\\" + kUninstallLink)) << desktop;
    }
    EXPECT_EQ(onDesktops, 1);
    const Link onDesktop = ReadLink(DesktopFolder() + "\\" + kAppLink);
    EXPECT_TRUE(onDesktop.loaded) << DesktopFolder();
    EXPECT_TRUE(SamePath(onDesktop.path, app + "\\Kelvo Lite.exe")) << onDesktop.path;
  }

  void ExpectRegistryRecords() {
    std::string text;
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kProgramKey, "Language", text));
    EXPECT_EQ(text, "English");

    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", text));
    EXPECT_EQ(text, "Kelvo Remover 2004 Lite 3.0");
    const std::string shortSetup = ShortPath(AppFolder() + "\\Setup.exe");
    ASSERT_FALSE(shortSetup.empty());
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", text));
    EXPECT_EQ(text, shortSetup + " /remove");
    EXPECT_EQ(text.find(' '), shortSetup.size()) << "the command must start unquoted: " << text;
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", text));
    EXPECT_EQ(text, "3.0");
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher", text));
    EXPECT_EQ(text, "Quorlan Soft");
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation", text));
    EXPECT_TRUE(SamePath(text, AppFolder())) << text;
  }

  void ExpectRuntimeDlls(DWORD count) {
    for (const std::string& name : RuntimeDllNames()) {
      SCOPED_TRACE(name);
      const std::string dll = SystemDll(name);
      EXPECT_TRUE(ReadFile(dll) == ReadFile(PackagedRuntimeDll(name)));
      DWORD counted = 0;
      EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, dll.c_str(), counted));
      EXPECT_EQ(counted, count);
    }
  }

  void ExpectNothingOfThePackage() {
    EXPECT_FALSE(Exists(AppFolder()));
    EXPECT_FALSE(Exists(ProgramFilesFolder() + "\\Quorlan Soft"));
    EXPECT_FALSE(Exists(ProgramGroup()));
    for (const std::string& desktop : AllDesktopFolders())
      EXPECT_FALSE(Exists(desktop + "\\" + kAppLink)) << desktop;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgramKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Quorlan Soft"));
  }
};

TEST_F(PackageTest, QuietInstallPutsEveryPieceInPlaceAndRemovalTakesItAllAway) {
  ASSERT_EQ(InstallQuietly(), 0);
  ExpectProductFiles();
  ExpectBareSetupProgram();
  ExpectShortcuts();
  ExpectRegistryRecords();
  ExpectRuntimeDlls(1);

  RemoveThroughTheUninstallEntry();
  ExpectNothingOfThePackage();
  for (const std::string& name : RuntimeDllNames()) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(Exists(SystemDll(name)));
    DWORD counted = 0;
    EXPECT_FALSE(ReadDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemDll(name).c_str(), counted));
  }
}

TEST_F(PackageTest, RunTimeDllsCountedByAnotherInstallationStay) {
  // Another program installed the same DLLs before and counted them once.
  for (const std::string& name : RuntimeDllNames()) {
    ASSERT_TRUE(WriteFile(SystemDll(name), ReadFile(PackagedRuntimeDll(name))));
    WriteDword(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemDll(name).c_str(), 1);
  }
  ASSERT_EQ(InstallQuietly(), 0);
  ExpectRuntimeDlls(2);

  RemoveThroughTheUninstallEntry();
  ExpectNothingOfThePackage();
  ExpectRuntimeDlls(1);
  for (const std::string& name : RuntimeDllNames()) {
    DeleteValue(HKEY_LOCAL_MACHINE, kSharedDllsKey, SystemDll(name).c_str());
    DeleteFileA(SystemDll(name).c_str());
  }
}

}  // namespace
}  // namespace e2e
