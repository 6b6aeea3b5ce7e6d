// Whole runs of the built setup.exe: a package made here (the archive
// appended to a copy of setup.exe and stamped), installed quietly, removed
// again from the installed copy, and refused when damaged or locked.
#include <windows.h>

#include <string>

#include "setup/setup_package_fixture.h"

namespace {

using kvtest::Bytes;
using kvtest::Exists;
using kvtest::RunProgram;
using kvtest::WaitUntil;

TEST_F(SetupRun, QuietInstallThenQuietRemoval) {
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
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
  EXPECT_FALSE(kvtest::KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
  // Setup.exe, Setup.ini and the folder go with the self-delete helper.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(app); }));
}

TEST_F(SetupRun, HiddenRunIntoTheGivenFolder) {
  app = dir.Path("Apps\\Chosen Folder");
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
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
  kvtest::ArchiveOptions options;
  options.password = "s3cret";
  const std::string package =
      WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()), options)));
  EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 15);
  Installed(false);
  EXPECT_EQ(RunProgram(package, "/q /b0 /p:wrong", PackageFolder()), 3);
  Installed(false);
  EXPECT_EQ(RunProgram(package, "/q /b0 /p:s3cret", PackageFolder()), 0);
  Installed(true);
}

TEST_F(SetupRun, BadPackagesEndWithExitThreeAndInstallNothing) {
  const Bytes good = kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script())));
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
      {"wrong script version", kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script("2.66.1000"))))},
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
  // The second file's body ends early: the archive is cut inside it.
  kvtest::ArchiveOptions stored;
  stored.compress = [](const Bytes& d) { return kvtest::Zlib(d, kvtest::Method::kStored); };
  Bytes archive = kvtest::BuildArchive(Entries(Script()), stored);
  archive.resize(archive.size() - 12);
  const Bytes exe = kvtest::SetupPackage(archive);
  const std::string package = WritePackage(exe);
  EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 5);
  EXPECT_TRUE(Exists(app + "\\kelvo.exe"));  // kept without /x
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));  // a failed run saves nothing

  EXPECT_EQ(RunProgram(package, "/q /b0 /x", PackageFolder()), 5);
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\lang.lng"));
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));
  // The folder was there before this run (the first one made it): it stays.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(app + "\\Setup.exe"); })) << "the copied Setup.exe stays";
}

// A quiet installation checks the system requirements first, silently.
TEST_F(SetupRun, UnmetRequirementsStopAQuietInstallWithExitEleven) {
  installLines = "Hardware=20000|480|4\n";
  const std::string package = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
  EXPECT_EQ(RunProgram(package, "/q /b0", PackageFolder()), 11);
  Installed(false);
  EXPECT_FALSE(Exists(app));
  installLines = "Hardware=640|480|4\n";
  const std::string fits = WritePackage(kvtest::SetupPackage(kvtest::BuildArchive(Entries(Script()))));
  EXPECT_EQ(RunProgram(fits, "/q /b0", PackageFolder()), 0);
  Installed(true);
}

TEST_F(SetupRun, ScriptPathArgument) {
  const std::string kvz = dir.Write("pkg\\data.kvz", kvtest::BuildArchive(Entries(Script())));
  const std::string plain = kvtest::SetupProgram();
  EXPECT_EQ(RunProgram(plain, "/q /b0 \"" + dir.Path("pkg\\none.txt") + "\"", PackageFolder()), 3);
  EXPECT_EQ(RunProgram(plain, "/q /b0 \"" + kvz + "\"", PackageFolder()), 0);
  Installed(true);
}

}  // namespace
