// Whole runs of the built setup.exe: a package made here (the archive
// appended to a copy of setup.exe and stamped), installed quietly, removed
// again from the installed copy, and refused when damaged or locked.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/support/kvz_writer.h"

namespace {

using kvtest::Bytes;

std::string SetupProgram() {
  std::string path = "Z:" KV_SETUP_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

kvtest::Entry E(const std::string& name, const std::string& body) {
  kvtest::Entry e;
  e.name = name;
  e.body = Bytes(body.begin(), body.end());
  return e;
}

void PutWord(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// setup.exe with the archive appended and the stamp written.
Bytes Package(const Bytes& archive) {
  Bytes exe = kvtest::ReadFileBytes(SetupProgram());
  const uint32_t offset = uint32_t(exe.size());
  exe.insert(exe.end(), archive.begin(), archive.end());
  const uint32_t end = uint32_t(exe.size());
  PutWord(exe, 0x1C, offset);
  PutWord(exe, 0x20, ~offset);
  PutWord(exe, 0x78, end);
  PutWord(exe, 0x7C, ~end);
  return exe;
}

// Runs a program and answers its exit code (-1000 when it did not start
// or did not end within two minutes).
int RunProgram(const std::string& exe, const std::string& arguments, const std::string& folder) {
  std::string line = "\"" + exe + "\" " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &si, &pi))
    return -1000;
  const DWORD waited = WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = DWORD(-1000);
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return int(code);
}

class SetupRun : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("Apps\\Kelvo Run");
  std::string keyName = "KvSetupRun" + std::to_string(GetCurrentProcessId());

  void SetUp() override { CreateDirectoryA(dir.Path("Apps").c_str(), nullptr); }
  void TearDown() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                  ("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + keyName).c_str());
  }

  std::string Script(const std::string& version = "2.67.1412") const {
    return "Version=" + version + "\n[Install]\nOptions=8\nPath=<AppFolder>\\kelvo.exe\n"
           "[Symbols]\nAppFolder=1|255|" + app +
           "\nAppTitle=2|255|Kelvo Run\nAppVersion=3|255|1.0\n"
           "UninstallTitle=12|255|<AppTitle>\n"
           "UninstallRegPath=62|255|HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
           "CurrentVersion\\Uninstall\\" + keyName + "\n"
           "[Files]\nInstallDir=<AppFolder>\n"
           "File=kelvo.exe|5|3|0|0|0=kelvo.exe|0|-1|255|0||\n"
           "File=lang.lng|4|3|0|0|0=lang.lng|0|-1|255|0||\n";
  }
  std::vector<kvtest::Entry> Entries(const std::string& script) const {
    return {E("Setup.ini", script), E("kelvo.exe", "MZ kelvo program"), E("lang.lng", "[en]")};
  }
  std::string WritePackage(const Bytes& exe) const { return dir.Write("pkg\\setup.exe", exe); }
  std::string PackageFolder() const { return dir.Path("pkg"); }
  void Installed(bool expected) const {
    EXPECT_EQ(Exists(app + "\\kelvo.exe"), expected);
    EXPECT_EQ(Exists(app + "\\lang.lng"), expected);
    EXPECT_EQ(Exists(app + "\\Setup.ini"), expected);
  }
};

TEST_F(SetupRun, QuietInstallThenQuietRemoval) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  const std::string package = WritePackage(Package(kvtest::BuildArchive(Entries(Script()))));
  ASSERT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 0);
  Installed(true);
  const std::string saved = app + "\\Setup.ini";
  const DWORD hidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesA(saved.c_str()) & hidden, hidden);
  const Bytes text = kvtest::ReadFileBytes(saved);
  const std::string savedText(text.begin(), text.end());
  EXPECT_NE(savedText.find("Timestamp"), std::string::npos) << savedText;
  const std::string setupExe = app + "\\Setup.exe";
  ASSERT_TRUE(Exists(setupExe));

  // The installed copy removes without a mode switch.
  EXPECT_EQ(RunProgram(setupExe, "/q /b0", app), 0);
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\lang.lng"));
}

TEST_F(SetupRun, HiddenRunIntoTheGivenFolder) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  app = dir.Path("Apps\\Chosen Folder");
  const std::string package = WritePackage(Package(kvtest::BuildArchive(Entries(Script()))));
  app = dir.Path("Apps\\Kelvo Run");
  const std::string chosen = dir.Path("Apps\\Elsewhere");
  ASSERT_EQ(RunProgram(package, "/q2 /b0 \"/install:" + chosen + "\"", PackageFolder()), 0);
  EXPECT_TRUE(Exists(chosen + "\\kelvo.exe"));
  EXPECT_TRUE(Exists(chosen + "\\Setup.ini"));
  EXPECT_FALSE(Exists(dir.Path("Apps\\Chosen Folder")));
  EXPECT_EQ(RunProgram(chosen + "\\Setup.exe", "/q /remove /b0", chosen), 0);
  EXPECT_FALSE(Exists(chosen + "\\kelvo.exe"));
}

TEST_F(SetupRun, PasswordFromTheSwitchOrExitFifteen) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  kvtest::ArchiveOptions options;
  options.password = "s3cret";
  const std::string package =
      WritePackage(Package(kvtest::BuildArchive(Entries(Script()), options)));
  EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 15);
  Installed(false);
  EXPECT_EQ(RunProgram(package, "/q /b0 /p:wrong", PackageFolder()), 3);
  Installed(false);
  EXPECT_EQ(RunProgram(package, "/q /b0 /p:s3cret", PackageFolder()), 0);
  Installed(true);
}

TEST_F(SetupRun, BadPackagesEndWithExitThreeAndInstallNothing) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  const Bytes good = Package(kvtest::BuildArchive(Entries(Script())));
  struct Case {
    const char* what;
    Bytes exe;
  };
  Bytes damagedStamp = good;
  damagedStamp[0x20] ^= 0x01;
  Bytes truncated(good.begin(), good.end() - 40);
  const Case cases[] = {
      {"damaged stamp", damagedStamp},
      {"truncated package", truncated},
      {"wrong script version", Package(kvtest::BuildArchive(Entries(Script("2.66.1000"))))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string package = WritePackage(c.exe);
    EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 3);
    Installed(false);
    EXPECT_FALSE(Exists(app));
  }
}

TEST_F(SetupRun, RollbackOfAFailedInstallation) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  // The second file's body ends early: the archive is cut inside it.
  kvtest::ArchiveOptions stored;
  stored.compress = [](const Bytes& d) { return kvtest::Zlib(d, kvtest::Method::kStored); };
  Bytes archive = kvtest::BuildArchive(Entries(Script()), stored);
  archive.resize(archive.size() - 12);
  const Bytes exe = Package(archive);
  const std::string package = WritePackage(exe);
  EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 5);
  EXPECT_TRUE(Exists(app + "\\kelvo.exe"));  // kept without /x
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));  // a failed run saves nothing

  EXPECT_EQ(RunProgram(package, "/q /b0 /x", PackageFolder()), 5);
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\lang.lng"));
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));
}

TEST_F(SetupRun, ScriptPathArgument) {
  CreateDirectoryA(PackageFolder().c_str(), nullptr);
  const std::string kvz = dir.Write("pkg\\data.kvz", kvtest::BuildArchive(Entries(Script())));
  const std::string plain = SetupProgram();
  EXPECT_EQ(RunProgram(plain, "/q /b0 \"" + dir.Path("pkg\\none.txt") + "\"", PackageFolder()), 3);
  EXPECT_EQ(RunProgram(plain, "/q /b0 \"" + kvz + "\"", PackageFolder()), 0);
  Installed(true);
}

}  // namespace
