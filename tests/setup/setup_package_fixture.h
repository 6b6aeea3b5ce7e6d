// Shared by the runs of the built setup.exe: a test package (the archive
// appended to a copy of setup.exe and stamped), a program started and
// waited for, and a fixture with a small script and its uninstall key.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/support/kvz_writer.h"

namespace kvtest {

std::string SetupProgram();
bool Exists(const std::string& path);
bool KeyExists(HKEY root, const std::string& path);
Entry TextEntry(const std::string& name, const std::string& body);
// setup.exe with the archive appended and the stamp written.
Bytes SetupPackage(const Bytes& archive);
// Runs a program and answers its exit code (-1000 when it did not start
// or did not end within two minutes).
int RunProgram(const std::string& exe, const std::string& arguments, const std::string& folder);

// Polls until done() or the timeout (generous: the self-delete helper
// waits for CPU time at idle priority); false on timeout.
template <typename Done>
bool WaitUntil(Done done, DWORD timeoutMs = 60000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace kvtest

class SetupRun : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("Apps\\Kelvo Run");
  std::string keyName = "KvSetupRun" + std::to_string(GetCurrentProcessId());
  std::string uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + keyName;
  std::string installLines;  // more [Install] lines for the script

  void SetUp() override {
    CreateDirectoryA(dir.Path("Apps").c_str(), nullptr);
    CreateDirectoryA(PackageFolder().c_str(), nullptr);
  }
  void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, uninstallKey.c_str()); }

  std::string Script(const std::string& version = "2.67.1412") const {
    return "Version=" + version + "\n[Install]\nOptions=8\nPath=<AppFolder>\\kelvo.exe\n" + installLines +
           "[Symbols]\nAppFolder=1|255|" + app +
           "\nAppTitle=2|255|Kelvo Run\nAppVersion=3|255|1.0\n"
           "UninstallTitle=12|255|<AppTitle>\n"
           "UninstallRegPath=62|255|HKEY_LOCAL_MACHINE\\" + uninstallKey + "\n"
           "[Files]\nInstallDir=<AppFolder>\n"
           "File=kelvo.exe|5|3|0|0|0=kelvo.exe|0|-1|255|0||\n"
           "File=lang.lng|4|3|0|0|0=lang.lng|0|-1|255|0||\n";
  }
  std::vector<kvtest::Entry> Entries(const std::string& script) const {
    return {kvtest::TextEntry("Setup.ini", script), kvtest::TextEntry("kelvo.exe", "MZ kelvo program"),
            kvtest::TextEntry("lang.lng", "[en]")};
  }
  std::string WritePackage(const kvtest::Bytes& exe) const { return dir.Write("pkg\\setup.exe", exe); }
  std::string PackageFolder() const { return dir.Path("pkg"); }
  void Installed(bool expected) const {
    EXPECT_EQ(kvtest::Exists(app + "\\kelvo.exe"), expected);
    EXPECT_EQ(kvtest::Exists(app + "\\lang.lng"), expected);
    EXPECT_EQ(kvtest::Exists(app + "\\Setup.ini"), expected);
  }
};
