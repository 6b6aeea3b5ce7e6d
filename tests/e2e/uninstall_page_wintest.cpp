// Kelvo Lite's own uninstall page removing the installed package: the page
// lists "Kelvo Remover 2004 Lite 3.0", runs its uninstall command (setup's
// removal dialog, answered here from a second thread while the page waits
// for setup to end), finds the entry gone without asking, and the package
// leaves nothing behind once the self-delete helper has run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/package_fixture.h"
#include "kelvolite/shell_fixture.h"
#include "setup/ui/wizard_ids.h"

namespace {

// setup's removal dialog: a dialog of another process with the prompt text.
struct DialogSearch {
  HWND dialog = nullptr;
};

BOOL CALLBACK FindRemovalDialog(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() || !IsWindowVisible(window) ||
      !GetDlgItem(window, IDT_UNINSTALL_PROMPT))
    return TRUE;
  reinterpret_cast<DialogSearch*>(param)->dialog = window;
  return FALSE;
}

bool Poll(const std::function<bool()>& done, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50))
    if (done()) return true;
  return done();
}

// What the user did at setup's removal dialog, and whether setup ended.
struct RemovalAnswers {
  bool answered = false;
  bool setupEnded = false;
};

// The user at setup's removal dialog: Uninstall, then Finish once done.
// A setup that does not end afterwards is ended here, so that the page's
// wait (which has no time limit) cannot hang the suite.
DWORD WINAPI AnswerRemovalDialog(void* param) {
  RemovalAnswers& result = *static_cast<RemovalAnswers*>(param);
  DialogSearch search;
  if (!Poll([&] {
        EnumWindows(FindRemovalDialog, reinterpret_cast<LPARAM>(&search));
        return search.dialog != nullptr;
      }, 60000))
    return 1;
  DWORD processId = 0;
  GetWindowThreadProcessId(search.dialog, &processId);
  HANDLE setup = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  PostMessageA(search.dialog, WM_COMMAND, IDOK, 0);
  if (Poll([&] { return IsWindowVisible(GetDlgItem(search.dialog, IDT_UNINSTALL_DONE)) != 0; }, 60000)) {
    PostMessageA(search.dialog, WM_COMMAND, IDCANCEL, 0);
    result.answered = true;
  }
  if (setup) {
    result.setupEnded = WaitForSingleObject(setup, 60000) == WAIT_OBJECT_0;
    if (!result.setupEnded) TerminateProcess(setup, 99);
    CloseHandle(setup);
  }
  return 0;
}

class UninstallPageRemovesThePackage : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    CoInitialize(nullptr);
    const std::string package = e2e::PackagePath();
    ASSERT_EQ(e2e::RunProgram("\"" + package + "\" /q /b0", package.substr(0, package.rfind('\\'))), 0);
  }
  void TearDown() override {
    MainFormTest::TearDown();
    CoUninitialize();
  }
  TListItem* Row(const std::string& caption) {
    for (int i = 0; i < form_->lvUninstall.ItemCount(); ++i)
      if (form_->lvUninstall.Item(i)->Caption() == caption) return form_->lvUninstall.Item(i);
    return nullptr;
  }
};

TEST_F(UninstallPageRemovesThePackage, ThroughItsUninstallCommand) {
  OpenMainForm();
  TListItem* row = Row("Kelvo Remover 2004 Lite 3.0");
  ASSERT_NE(row, nullptr);
  row->SetSelected(true);
  row->SetFocused();
  Pump();
  EXPECT_EQ(form_->pmiListViewDelete.Caption(), "Uninstall") << "listed as a phantom";

  RemovalAnswers answers;
  HANDLE user = CreateThread(nullptr, 0, AnswerRemovalDialog, &answers, 0, nullptr);
  ASSERT_NE(user, nullptr);
  ClickControl(form_->bbtUninstall);  // returns when setup has ended
  EXPECT_EQ(WaitForSingleObject(user, 200000), WAIT_OBJECT_0);
  CloseHandle(user);
  EXPECT_TRUE(answers.answered) << "no removal dialog, or it never finished";
  EXPECT_TRUE(answers.setupEnded) << "setup did not end after Finish";
  // The entry went with the removal: no leftover question, and the rescan
  // no longer lists it.
  EXPECT_EQ(Row("Kelvo Remover 2004 Lite 3.0"), nullptr);
  EXPECT_EQ(FindWindowA("TfmMessageBox", nullptr), nullptr);

  EXPECT_TRUE(e2e::WaitForHelper());
  EXPECT_FALSE(e2e::Exists(e2e::ProgramFilesFolder() + "\\Quorlan Soft"));
  EXPECT_FALSE(e2e::Exists(e2e::ProgramGroup()));
  EXPECT_FALSE(e2e::Exists(e2e::DesktopFolder() + "\\Kelvo Remover 2004 Lite.lnk"));
  EXPECT_FALSE(e2e::KeyExists(HKEY_LOCAL_MACHINE, e2e::kUninstallKey));
  EXPECT_FALSE(e2e::KeyExists(HKEY_LOCAL_MACHINE, "Software\\Quorlan Soft"));
  for (const std::string& name : e2e::RuntimeDllNames())
    EXPECT_FALSE(e2e::Exists(e2e::SystemFolder() + "\\" + name)) << name;
}

}  // namespace
