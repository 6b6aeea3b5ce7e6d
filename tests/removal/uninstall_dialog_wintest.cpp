// The interactive removal under Wine: a package installed through the
// engine, then removed through the UninstallDialog driven by posted
// commands; Finish starts the real _QexDel helper (linked in as RCDATA 1),
// which deletes Setup.exe, Setup.ini, a file held open during the removal
// and the emptied folders after the dialog is gone.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "setup/app/setup_log.h"
#include "setup/engine/archive.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_records.h"
#include "setup/ui/application_base.h"
#include "setup/ui/uninstall_dialog.h"
#include "setup/ui/wizard_ids.h"
#include "engine/support/kvz_writer.h"

namespace {

using kvtest::Bytes;

const char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
bool KeyExists(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}
bool RunOnceValueExists(const std::string& name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  const bool found = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}
std::string ReadText(const std::string& path) {
  const Bytes bytes = kvtest::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}
std::string WindowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Handles messages until done() or the deadline; false on timeout.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;  // the dialog was the main window
      if (!IsDialogMessageA(msg.hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  return true;
}

class TestApp : public ApplicationBase {
 public:
  int boxes = 0;
  int MessageBoxV(UINT, const char*, va_list) override { return ++boxes, IDOK; }
};

class Hooks : public RunHooks {
 public:
  std::vector<int> notified;
  void Notify(int m) override { notified.push_back(m); }
};

class Removal : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("Prog Files\\Kelvo Test");
  std::string temp = dir.Path("Temp");
  std::string keyName = "KvRemovalTest" + std::to_string(GetCurrentProcessId());
  std::string uninstallKey = std::string(kUninstallRoot) + "\\" + keyName;
  std::string runOnceName = "QEXTEST" + std::to_string(GetCurrentProcessId());
  TestApp application;
  Hooks hooks;
  InstallRun removal;
  std::unique_ptr<SetupEngine> engine;

  void SetUp() override {
    InitCommonControls();
    CreateDirectoryA(dir.Path("Prog Files").c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    application.moduleHandle = GetModuleHandleA(nullptr);
    application.title = "Kelvo Test";
    Install();
  }
  void TearDown() override {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, uninstallKey.c_str());
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }

  void Install() {
    const std::string script =
        "Version=2.67.1412\n[Install]\nOptions=8\nPath=<AppFolder>\\kelvo.exe\n[Symbols]\nAppFolder=1|255|" +
        app + "\nAppTitle=2|255|Kelvo Test\nAppVersion=3|255|3.1\nUninstallTitle=12|255|Kelvo Test\n"
        "UninstallRegPath=62|255|HKEY_LOCAL_MACHINE\\" + uninstallKey + "\n"
        "[Files]\nInstallDir=<AppFolder>\nFile=kelvo.exe|3|3|0|0|0=kelvo.exe|0|-1|255|0||\n"
        "[Files]\nInstallDir=<AppFolder>\\Data\nFile=lang.lng|3|3|0|0|0=lang.lng|0|-1|255|0||\n";
    std::unique_ptr<SetupEngine> installer = SetupEngine::ForRunningSystem();
    ScriptLoadFailure failure;
    ASSERT_TRUE(installer->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    kvtest::Entry exe{"kelvo.exe", Bytes{'M', 'Z'}}, lang{"lang.lng", Bytes{'[', ']'}};
    uint32_t offset = 0;
    const std::string stub = dir.Write("package.exe", kvtest::StampedExecutable(kvtest::BuildArchive({exe, lang}), &offset));
    SetupArchive archive;
    ASSERT_EQ(archive.Open(stub.c_str(), offset, nullptr), 0);
    installer->SetArchive(&archive);
    InstallRun run;
    run.executable = stub;
    ASSERT_TRUE(StartInstallation(*installer, run));
    ASSERT_TRUE(installer->InstallFiles());
    ASSERT_TRUE(FinishInstallation(*installer, run));
    ASSERT_TRUE(SaveInstalledScript(*installer, run));
    archive.Close();
    ASSERT_TRUE(KeyExists(uninstallKey));

    // This run's RunOnce entry, as a registration run after a restart leaves it.
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, runOnceName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);

    // The removal run reads the saved copy, as Setup.exe /remove does.
    engine = SetupEngine::ForRunningSystem();
    ASSERT_TRUE(engine->LoadScriptFile((app + "\\Setup.ini").c_str(), &failure))
        << DescribeScriptLoadFailure(failure);
    engine->Symbols().SetValue(kSymTempDir, temp);
    removal.executable = app + "\\Setup.exe";
    removal.runOnceName = runOnceName;
    removal.hooks = &hooks;
  }
};

TEST_F(Removal, UninstallThenFinishLeavesNothingForTheHelperToMiss) {
  SetupLog::Instance().Close();
  RemovalContext context(application, removal);
  UninstallDialog* dialog = CreateUninstallDialog(*engine, context);
  ASSERT_NE(dialog, nullptr);
  HWND window = dialog->window;
  EXPECT_EQ(WindowText(window), "Uninstall Kelvo Test");
  EXPECT_EQ(WindowText(GetDlgItem(window, IDT_PAGE_TITLE)), "Uninstall Kelvo Test");
  EXPECT_EQ(application.mainWindow, dialog);
  ShowWindow(window, SW_SHOW);  // as the application's loop does

  // Held open by someone else through the whole removal.
  const std::string held = app + "\\Data\\lang.lng";
  HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  PostMessageA(window, WM_COMMAND, IDOK, 0);
  HWND cancel = GetDlgItem(window, IDCANCEL);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(GetDlgItem(window, IDT_UNINSTALL_DONE)) != 0; }));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDOK)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDT_UNINSTALL_PROMPT)));
  EXPECT_EQ(WindowText(cancel), "Finish");
  EXPECT_TRUE(IsWindowEnabled(cancel));
  EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), IDCANCEL);
  for (int id = IDX_FIRST_STEP; id < IDX_FIRST_STEP + kRemovalStepCount; ++id) {
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, id))) << id;
    EXPECT_EQ(SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0), BST_CHECKED) << id;
  }
  EXPECT_EQ(SendDlgItemMessageA(window, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0), 1000);
  EXPECT_EQ(hooks.notified, (std::vector<int>{7, 24, 25, 22, 23, 26, 27, 20, 21}));
  EXPECT_TRUE(removal.filesRemoved);
  EXPECT_FALSE(Exists(app + "\\kelvo.exe"));
  EXPECT_TRUE(Exists(held));
  EXPECT_EQ(engine->UnremovedFiles(), (std::vector<std::string>{held}));
  // Nothing handed over yet: the helper starts when the window goes.
  EXPECT_TRUE(KeyExists(uninstallKey));
  EXPECT_EQ(context.helperProcessId, 0u);

  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
  EXPECT_EQ(application.mainWindow, nullptr);
  ASSERT_NE(context.helperProcessId, 0u);
  HANDLE helper = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, context.helperProcessId);
  CloseHandle(holder);  // let go while the helper retries
  EXPECT_FALSE(KeyExists(uninstallKey));
  EXPECT_FALSE(RunOnceValueExists(runOnceName));
  EXPECT_EQ(engine->State(), kEngineDone);
  EXPECT_EQ(hooks.notified.back(), 8);
  EXPECT_TRUE(Exists(temp + "\\_QexDel.exe"));

  if (helper) {
    EXPECT_EQ(WaitForSingleObject(helper, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(helper, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(helper);
  } else {
    // Already gone: the files are the evidence.
    PumpUntil([&] { return !Exists(app); }, 30000);
  }
  EXPECT_FALSE(Exists(app + "\\Setup.exe"));
  EXPECT_FALSE(Exists(app + "\\Setup.ini"));
  EXPECT_FALSE(Exists(held));
  EXPECT_FALSE(Exists(app + "\\Data"));
  EXPECT_FALSE(Exists(app));
  EXPECT_TRUE(Exists(dir.Path("Prog Files")));  // not made by the installation

  const std::string log = ReadText(SetupLog::Instance().Path());
  EXPECT_NE(log.find("01000008|Kelvo Test"), std::string::npos) << log;
  EXPECT_NE(log.find("01000009"), std::string::npos);
  EXPECT_NE(log.find("04010014|" + held), std::string::npos);
  EXPECT_TRUE(log.find("02010015|" + app + "\r\n") != std::string::npos ||
              log.find("02010015|" + app + "\n") != std::string::npos);
  EXPECT_NE(log.find("02010015|" + app + "\\Data"), std::string::npos);
}

// Two removals in a row: the first one's helper may still be running under
// the helper's name when the second one ends. The second takes a name of
// its own and still removes everything.
TEST_F(Removal, AHelperStillRunningFromAnEarlierRemovalDoesNotStopThisOne) {
  SetupLog::Instance().Close();
  const std::string busy = temp + "\\_QexDel.exe";
  HANDLE running = CreateFileA(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(running, INVALID_HANDLE_VALUE);

  RemovalContext context(application, removal);
  UninstallDialog* dialog = CreateUninstallDialog(*engine, context);
  ASSERT_NE(dialog, nullptr);
  HWND window = dialog->window;
  ShowWindow(window, SW_SHOW);
  PostMessageA(window, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(GetDlgItem(window, IDT_UNINSTALL_DONE)) != 0; }));
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
  EXPECT_EQ(engine->State(), kEngineDone);
  ASSERT_NE(context.helperProcessId, 0u);
  EXPECT_TRUE(Exists(temp + "\\_QexDel" + std::to_string(GetCurrentProcessId()) + ".exe"));

  EXPECT_TRUE(PumpUntil([&] { return !Exists(app); }, 30000));
  EXPECT_FALSE(Exists(app + "\\Setup.exe"));
  CloseHandle(running);
  EXPECT_TRUE(Exists(busy)) << "the other helper's file is not ours to delete";
}

TEST_F(Removal, CancelBeforeUninstallRemovesNothingAndStartsNoHelper) {
  RemovalContext context(application, removal);
  UninstallDialog* dialog = CreateUninstallDialog(*engine, context);
  ASSERT_NE(dialog, nullptr);
  HWND window = dialog->window;
  PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
  EXPECT_EQ(context.helperProcessId, 0u);
  EXPECT_FALSE(removal.filesRemoved);
  EXPECT_EQ(engine->State(), kEngineIdle);
  EXPECT_TRUE(Exists(app + "\\kelvo.exe"));
  EXPECT_TRUE(Exists(app + "\\Setup.exe"));
  EXPECT_TRUE(KeyExists(uninstallKey));
  EXPECT_TRUE(RunOnceValueExists(runOnceName));
  EXPECT_FALSE(Exists(temp + "\\_QexDel.exe"));
}

}  // namespace
