// A whole installation through the engine's steps (start, files, shortcuts,
// end), the saved Setup.ini, then the whole removal from that saved copy:
// the uninstall key, [UninstallDirs], Setup.exe cut at the archive stamp,
// shell links read back, and nothing left afterwards but what another
// installation counts. Also a previous version removed first.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/archive.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/os_file.h"
#include "setup/engine/script_io.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/shortcut_link.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/uninstall_removal.h"
#include "engine/support/kvz_writer.h"
#include "support/wine_persona.h"

namespace {

using kvtest::Bytes;

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buffer, n) : path;
}
bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}
// "<missing>" when absent; DWORDs as decimal text.
std::string Value(const std::string& keyPath, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "<missing>";
  char data[1024] = {};
  DWORD size = sizeof data - 1, type = 0;
  LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return "<missing>";
  if (type == REG_DWORD) {
    DWORD v;
    std::memcpy(&v, data, sizeof v);
    return "dword:" + std::to_string(v);
  }
  return data;
}
void SetString(const std::string& keyPath, const char* name, const std::string& text) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 DWORD(text.size() + 1));
  RegCloseKey(key);
}
void SetSharedCount(const std::string& path, DWORD count) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&count), sizeof count);
  RegCloseKey(key);
}
int SharedCount(const std::string& path) {
  const std::string v = Value(kSharedDlls, path.c_str());
  return v.rfind("dword:", 0) == 0 ? std::stoi(v.substr(6)) : -1;
}
void DeleteTree(const std::string& path) { SHDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str()); }
void CALLBACK CloseOnTimer(void* handle, BOOLEAN) { CloseHandle(static_cast<HANDLE>(handle)); }

kvtest::Entry E(const std::string& name, const std::string& body) {
  kvtest::Entry e;
  e.name = name;
  e.body = Bytes(body.begin(), body.end());
  return e;
}

// Records the extension notifications and action phases it is given.
class Hooks : public RunHooks {
 public:
  std::vector<int> notified;
  std::vector<uint32_t> phases;
  std::vector<std::string> texts;
  void Notify(int m) override { notified.push_back(m); }
  bool RunActions(uint32_t phase) override { return phases.push_back(phase), true; }
  void ProgressText(const std::string& t) override { texts.push_back(t); }
};

class Answers : public EngineMessages {
 public:
  std::vector<uint32_t> shown;
  int answer = kAnswerOk;
  int Show(uint32_t id, const std::string&, const std::string&, MessageKind) override {
    shown.push_back(id);
    return answer;
  }
};

class InstallRemove : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("Prog Files\\Kelvo Test");
  std::string desktop = dir.Path("Desktop");
  std::string startMenu = dir.Path("Start Menu");
  std::string programs = dir.Path("Start Menu\\Programs");
  std::string group = programs + "\\Kelvo Group";
  std::string keyName = "KvInstallTest" + std::to_string(GetCurrentProcessId());
  std::string uninstallKey = std::string(kUninstallRoot) + "\\" + keyName;
  std::string stub;       // the "running setup": program, then the package
  uint32_t stubSize = 0;  // the stamp's archive offset
  std::unique_ptr<SetupEngine> engine;
  SetupArchive archive;
  Hooks hooks;
  Answers answers;
  InstallRun run;

  void SetUp() override {
    CreateDirectoryA(dir.Path("Prog Files").c_str(), nullptr);
    CreateDirectoryA(desktop.c_str(), nullptr);
    CreateDirectoryA(startMenu.c_str(), nullptr);
    CreateDirectoryA(programs.c_str(), nullptr);
  }
  void TearDown() override {
    archive.Close();
    DeleteTree(uninstallKey);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, (app + "\\Data\\Deep\\shared.dll").c_str());
      RegCloseKey(key);
    }
  }

  std::string Script(uint32_t options, const std::string& extraSymbols = "") {
    return "Version=2.67.1412\n[Install]\nOptions=" + std::to_string(options) +
           "\nPath=<AppFolder>\\kelvo.exe\n[Symbols]\nAppFolder=1|255|" + app +
           "\nAppTitle=2|255|Kelvo Test\nAppVersion=3|255|3.1\nCompany=4|255|Quorlan Soft\n"
           "WebSite=7|255|http://kelvo.example/<AppTitle>\n"
           "ProgGroupDir=9|255|<Programs>\\Kelvo Group\n"
           "UninstallTitle=12|255|<AppTitle> <AppVersion>\nDesktop=28|255|" + desktop +
           "\nPrograms=31|255|" + programs + "\nStartMenu=33|255|" + startMenu +
           "\nUninstallRegPath=62|255|HKEY_LOCAL_MACHINE\\" + uninstallKey + "\n" + extraSymbols +
           "[Files]\nInstallDir=<AppFolder>\n"
           "File=kelvo.exe|5|3|0|0|0=kelvo.exe|0|-1|255|0||\n"
           "File=lang.lng|4|3|0|0|0=lang.lng|0|-1|255|0||\n"
           "[Files]\nInstallDir=<AppFolder>\\Data\\Deep\n"
           "File=shared.dll|3|3|1|1|0=shared.dll|0|-1|255|0||\n"
           "[ShellLink]\nTitle=<AppTitle>\nDescription=Keeps it clean\nPath=<AppFolder>\\kelvo.exe\n"
           "WorkDir=<AppFolder>\nArguments=/tray <AppVersion>\nIconPath=<AppFolder>\\none.ico\n"
           "IconIndex=4\nShowCmd=3\nLocations=261\n"
           "[ShellLink]\nTitle=Uninstall <AppTitle>\nPath=<AppFolder>\\Setup.exe\n"
           "Arguments=/remove\nIconPath=<AppFolder>\\kelvo.exe\nIconIndex=2\nLocations=256\n"
           "[ShellLink]\nTitle=Not There\nPath=<AppFolder>\\absent.exe\nLocations=257\n";
  }

  void Load(const std::string& script) {
    engine = SetupEngine::ForRunningSystem();
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    Bytes package = kvtest::BuildArchive(
        {E("kelvo.exe", "MZexe"), E("lang.lng", "[en]"), E("shared.dll", "DLL")});
    Bytes exe = kvtest::StampedExecutable(package, &stubSize);
    for (uint32_t i = 0x80; i < stubSize; ++i) exe[i] = uint8_t(i * 7);
    stub = dir.Write("setup-package.exe", exe);
    ASSERT_EQ(archive.Open(stub.c_str(), stubSize, nullptr), 0);
    engine->SetArchive(&archive);
    engine->SetMessages(&answers);
    run.executable = stub;
    run.hooks = &hooks;
  }
};

TEST_F(InstallRemove, WholeInstallationThenWholeRemoval) {
  const std::string sharedDll = app + "\\Data\\Deep\\shared.dll";
  SetSharedCount(sharedDll, 1);  // another installation counts it already
  CreateDirectoryA((desktop + "\\Other").c_str(), nullptr);
  Load(Script(kOptUninstallEntry | kOptProgramGroup | kOptShowWebSite));

  ASSERT_TRUE(StartInstallation(*engine, run));
  EXPECT_EQ(engine->State(), kEngineRunning);
  ASSERT_TRUE(engine->InstallFiles());
  ASSERT_TRUE(engine->RegisterFiles());
  ASSERT_TRUE(CreateShortcutsStep(*engine, run, kLinkDesktop | kLinkStartMenu));
  ASSERT_TRUE(FinishInstallation(*engine, run));
  EXPECT_EQ(engine->State(), kEngineDone);
  ASSERT_TRUE(SaveInstalledScript(*engine, run));
  EXPECT_EQ(hooks.notified, (std::vector<int>{7, 16, 17, 8}));
  EXPECT_EQ(hooks.phases, (std::vector<uint32_t>{0, 0x30000, 0x50000}));

  // Setup.exe: the program in front of the archive, hidden, system, read-only.
  const std::string setupExe = app + "\\Setup.exe";
  const Bytes copied = kvtest::ReadFileBytes(setupExe);
  const Bytes whole = kvtest::ReadFileBytes(stub);
  ASSERT_EQ(copied.size(), stubSize);
  EXPECT_TRUE(std::equal(copied.begin(), copied.end(), whole.begin()));
  const DWORD hidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(GetFileAttributesA(setupExe.c_str()) & hidden, hidden);

  // The uninstall entry.
  EXPECT_EQ(Value(uninstallKey, "DisplayName"), "Kelvo Test 3.1");
  EXPECT_EQ(Value(uninstallKey, "UninstallString"), ShortPath(setupExe) + " /remove");
  EXPECT_EQ(Value(uninstallKey, "InstallLocation"), app);
  EXPECT_EQ(Value(uninstallKey, "InstallSource"), stub.substr(0, stub.find_last_of('\\')));
  EXPECT_EQ(Value(uninstallKey, "DisplayIcon"), app + "\\kelvo.exe");
  EXPECT_EQ(Value(uninstallKey, "DisplayVersion"), "3.1");
  EXPECT_EQ(Value(uninstallKey, "VersionMajor"), "dword:3");
  EXPECT_EQ(Value(uninstallKey, "VersionMinor"), "dword:1");
  EXPECT_EQ(Value(uninstallKey, "Publisher"), "Quorlan Soft");
  EXPECT_EQ(Value(uninstallKey, "URLInfoAbout"), "http://kelvo.example/<AppTitle>");
  EXPECT_EQ(Value(uninstallKey, "Contact"), "<missing>");
  const std::string date = Value(uninstallKey, "InstallDate");
  ASSERT_EQ(date.size(), 19u) << date;
  EXPECT_EQ(date[4], '-');
  EXPECT_EQ(date[13], ':');
  EXPECT_TRUE(run.runOnceName.empty());  // nothing waited for a restart

  // Links: everything the section gives, in the folders the bits and the
  // user's choice allow.
  const std::string mainLink = "Kelvo Test.lnk";
  EXPECT_TRUE(Exists(group + "\\" + mainLink));
  EXPECT_TRUE(Exists(desktop + "\\" + mainLink));
  EXPECT_FALSE(Exists(programs + "\\" + mainLink));  // the user cleared the Programs box
  EXPECT_TRUE(Exists(group + "\\Uninstall Kelvo Test.lnk"));
  EXPECT_FALSE(Exists(group + "\\Not There.lnk"));
  LinkFields f;
  CoInitialize(nullptr);
  ASSERT_TRUE(ReadLink(desktop + "\\" + mainLink, &f));
  EXPECT_EQ(f.target, app + "\\kelvo.exe");
  EXPECT_EQ(f.workDir, app);
  EXPECT_EQ(f.arguments, "/tray 3.1");
  EXPECT_EQ(f.description, "Keeps it clean");
  EXPECT_EQ(f.iconPath, app + "\\kelvo.exe");  // the named icon file does not exist
  EXPECT_EQ(f.iconIndex, 0);
  // The show command (3) is not checked: this Wine's shell link reads back 1.
  ASSERT_TRUE(ReadLink(group + "\\Uninstall Kelvo Test.lnk", &f));
  EXPECT_EQ(f.target, setupExe);
  EXPECT_EQ(f.arguments, "/remove");
  EXPECT_EQ(f.iconIndex, 2);
  EXPECT_TRUE(GetFileAttributesA((desktop + "\\" + mainLink).c_str()) & FILE_ATTRIBUTE_READONLY);
  // Someone else's link to the same program goes at removal too.
  LinkFields mine;
  mine.target = app + "\\kelvo.exe";
  ASSERT_TRUE(CreateLink(desktop + "\\Other", "Mine", mine));
  ASSERT_TRUE(CreateLink(desktop, "Mine", mine));

  // The saved database.
  SetupScript saved;
  ASSERT_TRUE(LoadScriptFile(saved, (app + "\\Setup.ini").c_str()));
  const std::vector<std::string> dirs = ReadUninstallDirs(saved);
  EXPECT_EQ(dirs, (std::vector<std::string>{app, app + "\\Data", app + "\\Data\\Deep", group}));
  EXPECT_FALSE(saved.Section("Install")->GetText("Timestamp").empty());
  EXPECT_EQ(saved.Section("Install")->GetInt("NoDirSelect", 0), 1);
  const ScriptSection* link = saved.Section("ShellLink");
  EXPECT_EQ(link->GetText("Path"), app + "\\kelvo.exe");
  EXPECT_EQ(link->GetText("Title"), "Kelvo Test");
  EXPECT_EQ(link->GetText("IconPath"), app + "\\kelvo.exe");
  EXPECT_EQ(link->GetText("Arguments"), "/tray 3.1");
  EXPECT_EQ(saved.Main().NextSection(saved.Main().NextSection(link))->GetText("Path"),
            "<AppFolder>\\absent.exe");
  archive.Close();

  // Removal from the saved copy, run from Setup.exe, with other symbol
  // values than at installation: the recorded paths are what count.
  engine = SetupEngine::ForRunningSystem();
  ScriptLoadFailure failure;
  ASSERT_TRUE(engine->LoadScriptFile((app + "\\Setup.ini").c_str(), &failure))
      << DescribeScriptLoadFailure(failure);
  engine->Symbols().SetValue(kSymAppFolder, dir.Path("Elsewhere"));
  InstallRun removal;
  Hooks removalHooks;
  removal.executable = setupExe;
  removal.hooks = &removalHooks;
  ASSERT_TRUE(RunRemoval(*engine, removal, false));
  EXPECT_TRUE(removal.filesRemoved);
  DeleteUninstallRegistration(*engine, removal);
  EXPECT_FALSE(KeyExists(uninstallKey));
  EXPECT_FALSE(Exists(group));
  EXPECT_TRUE(Exists(programs));  // the shell's own folder stays, empty or not
  EXPECT_FALSE(Exists(desktop + "\\" + mainLink));
  EXPECT_FALSE(Exists(desktop + "\\Mine.lnk"));
  EXPECT_TRUE(Exists(desktop + "\\Other\\Mine.lnk"));  // not a folder the links went to
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_TRUE(Exists(sharedDll));

  // What the self-delete helper gets: Setup.exe, Setup.ini, then the
  // recorded folders in order, retried until they are empty.
  osfile::ForceDelete(setupExe.c_str());
  osfile::ForceDelete((app + "\\Setup.ini").c_str());
  for (int pass = 0; pass < 3; ++pass) {
    for (const std::string& d : ReadUninstallDirs(engine->Script())) RemoveDirectoryA(d.c_str());
  }
  // Only the DLL another installation counts is left, in its folders.
  EXPECT_TRUE(Exists(sharedDll));
  EXPECT_EQ(SharedCount(sharedDll), 1);
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_FALSE(Exists(app + "\\lang.lng"));
  EXPECT_FALSE(Exists(setupExe));
  EXPECT_TRUE(Exists(dir.Path("Prog Files")));  // existed before: never recorded
  EXPECT_TRUE(Exists(desktop));
  CoUninitialize();
}

// The shell reads every link just saved (Wine's menu builder does it in a
// process of its own) and holds it open without sharing its deletion for
// a moment. A removal that meets such a reader waits for it instead of
// leaving the link, and with it the program group, behind.
TEST_F(InstallRemove, LinkHeldOpenByTheShellIsDeletedOnceItLetsGo) {
  CoInitialize(nullptr);
  const std::string target = dir.Write("kelvo.exe", Bytes{'M', 'Z'});
  CreateDirectoryA(group.c_str(), nullptr);
  LinkFields fields;
  fields.target = target;
  ASSERT_TRUE(CreateLink(group, "Kelvo", fields));
  const std::string link = group + "\\Kelvo.lnk";
  HANDLE reader = CreateFileA(link.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_FALSE(DeleteFileA(link.c_str()));  // what the removal meets
  ASSERT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));

  // The reader lets go a little later, on a thread of the pool.
  HANDLE timer = nullptr;
  ASSERT_TRUE(CreateTimerQueueTimer(&timer, nullptr, CloseOnTimer, reader, 300, 0,
                                    WT_EXECUTEONLYONCE));
  EXPECT_EQ(DeleteLinksTo(target, group), 1);
  DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Exists(link));
  EXPECT_TRUE(RemoveDirectoryA(group.c_str()));
  CoUninitialize();
}

}  // namespace

namespace {

// The previous version's "uninstaller": this test program again, started by
// the installation with the previous entry's command. It takes a moment,
// removes the previous entry and says how it was called.
TEST(PreviousVersionHelper, DISABLED_Uninstall) {
  char marker[MAX_PATH] = {}, key[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("KV_PREVIOUS_MARKER", marker, MAX_PATH) ||
      !GetEnvironmentVariableA("KV_PREVIOUS_KEY", key, MAX_PATH))
    GTEST_SKIP() << "only as a previous version's uninstaller";
  Sleep(500);
  DeleteTree(key);
  HANDLE h = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const char* line = GetCommandLineA();
  DWORD n = 0;
  WriteFile(h, line, DWORD(strlen(line)), &n, nullptr);
  CloseHandle(h);
}

class PreviousVersion : public InstallRemove {
 protected:
  std::string prevKey = std::string(kUninstallRoot) + "\\KvPrevious" +
                        std::to_string(GetCurrentProcessId());
  std::string marker = dir.Path("uninstalled.txt");

  void SetUp() override {
    InstallRemove::SetUp();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetString(prevKey, "DisplayName", "Kelvo Old");
    SetString(prevKey, "UninstallString",
              ShortPath(self) +
                  " --gtest_also_run_disabled_tests"
                  " --gtest_filter=PreviousVersionHelper.DISABLED_Uninstall /REMOVE");
    SetEnvironmentVariableA("KV_PREVIOUS_MARKER", marker.c_str());
    SetEnvironmentVariableA("KV_PREVIOUS_KEY", prevKey.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("KV_PREVIOUS_MARKER", nullptr);
    SetEnvironmentVariableA("KV_PREVIOUS_KEY", nullptr);
    DeleteTree(prevKey);
    InstallRemove::TearDown();
  }
  std::string Symbols() {
    return "UninstallRegPathPrev=64|255|HKEY_LOCAL_MACHINE\\" + prevKey +
           "\nInstallLocationPrev=65|255|<AppFolder>\\Old\n";
  }
};

TEST_F(PreviousVersion, OneOfOursRunsQuietlyAsAnUpgradeAndIsWaitedFor) {
  Load(Script(kOptUninstallEntry | kOptFindPrevious, Symbols()));
  engine->SetQuiet(true);
  ASSERT_TRUE(StartInstallation(*engine, run));
  ASSERT_TRUE(Exists(marker));  // waited for: it had finished before the copy
  const Bytes line = kvtest::ReadFileBytes(marker);
  const std::string command(line.begin(), line.end());
  EXPECT_NE(command.find("/REMOVE /q /u"), std::string::npos) << command;
  EXPECT_FALSE(KeyExists(prevKey));
  EXPECT_TRUE(Exists(app + "\\Setup.exe"));
  EXPECT_EQ(engine->Symbols().Value(kSymInstallLocationPrev), app + "\\Old");
  EXPECT_EQ(hooks.texts, (std::vector<std::string>{"Waiting for the uninstallation to finish..."}));
}

TEST_F(PreviousVersion, KeptByTheUserOrByUpgradeLevelZeroStopsWithCode14) {
  struct Case {
    bool quiet;
    int level;
    uint32_t options;
  } cases[] = {
      {false, -1, kOptFindPrevious | kOptAskBeforeUninstallPrev},  // the user says Cancel
      {true, 0, 0},                                                // /U0 in a quiet run
  };
  for (const Case& c : cases) {
    Load(Script(c.options, Symbols()));
    engine->SetQuiet(c.quiet);
    answers.answer = kAnswerCancel;
    answers.shown.clear();
    run.upgradeLevel = c.level;
    run.exitCode = 0;
    EXPECT_FALSE(StartInstallation(*engine, run));
    EXPECT_EQ(run.exitCode, kExitPreviousNotRemoved);
    EXPECT_EQ(engine->State(), kEngineFailed);
    EXPECT_EQ(answers.shown, c.quiet ? std::vector<uint32_t>{} : std::vector<uint32_t>{144});
    EXPECT_FALSE(Exists(marker));
    EXPECT_TRUE(KeyExists(prevKey));
    EXPECT_FALSE(Exists(app));
    archive.Close();
  }
}

}  // namespace
