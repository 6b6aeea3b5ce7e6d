// The process list and the kill after the "Confirm" question, on a child
// process the test starts.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>

#include "kelvolite/controls/message_box.h"
#include "kelvolite/shell_fixture.h"

namespace {

const char kChildName[] = "kv_taskman_child.exe";

class ProcessListTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    std::string command = std::string("\"") + KV_TASKMAN_CHILD + "\"";
    for (char& c : command)
      if (c == '/') c = '\\';
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &child_));
    CloseHandle(child_.hThread);
    OpenMainForm();
    ClickControl(form_->bbtTaskManIcon);
  }
  void TearDown() override {
    if (child_.hProcess) {
      TerminateProcess(child_.hProcess, 0);
      CloseHandle(child_.hProcess);
    }
    MainFormTest::TearDown();
  }
  TListItem* ChildRow() {
    for (int i = 0; i < form_->lvTaskMan.ItemCount(); ++i) {
      TListItem* row = form_->lvTaskMan.Item(i);
      if (static_cast<DWORD>(reinterpret_cast<uintptr_t>(row->Data())) == child_.dwProcessId) return row;
    }
    return nullptr;
  }
  bool ChildRunning() { return WaitForSingleObject(child_.hProcess, 0) == WAIT_TIMEOUT; }
  // The snapshot's own name for the child.
  std::string SnapshotName() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::string name;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
      if (entry.th32ProcessID == child_.dwProcessId) name = entry.szExeFile;
    CloseHandle(snapshot);
    return name;
  }
  void SelectChild() {
    TListItem* row = ChildRow();
    ASSERT_NE(nullptr, row);
    row->SetSelected(true);
  }

  PROCESS_INFORMATION child_ = {};
};

TEST_F(ProcessListTest, ChildIsListedWithItsNameAndBuildColumns) {
  ASSERT_TRUE(WaitFor([this] {
    form_->bbtTaskManRefreshClick(form_.get());
    return ChildRow() != nullptr;
  }));
  TListItem* row = ChildRow();
  EXPECT_EQ(kChildName, row->Caption());
#ifdef KV_BUILD_NT
  EXPECT_EQ(1, form_->lvTaskMan.ColumnCount());
  EXPECT_TRUE(row->SubItems().empty());
#else
  EXPECT_EQ(2, form_->lvTaskMan.ColumnCount());
  EXPECT_EQ(std::vector<std::string>{SnapshotName()}, row->SubItems());
#endif
  // Sorted by caption.
  for (int i = 1; i < form_->lvTaskMan.ItemCount(); ++i)
    EXPECT_LE(lstrcmpA(form_->lvTaskMan.Item(i - 1)->Caption().c_str(), form_->lvTaskMan.Item(i)->Caption().c_str()),
              0);
}

TEST_F(ProcessListTest, NoKeepsTheProcessYesEndsIt) {
  ASSERT_TRUE(WaitFor([this] {
    form_->bbtTaskManRefreshClick(form_.get());
    return ChildRow() != nullptr;
  }));
  SelectChild();
  std::string question;
  AnswerNextBox("TfmMessageBox", VK_ESCAPE, [&question](HWND) { question = fmMessageBox->lMessage.Caption(); });
  ClickControl(form_->bbtTaskManKill);
  EXPECT_EQ(std::string("\n\nDo you really want to terminate the\n") + kChildName + " process?", question);
  EXPECT_TRUE(ChildRunning());
  ASSERT_NE(nullptr, ChildRow());

  // A double click asks the same question.
  SelectChild();
  question.clear();
  AnswerNextBox("TfmMessageBox", VK_RETURN, [&question](HWND) { question = fmMessageBox->lMessage.Caption(); });
  form_->lvTaskMan.OnDblClick(&form_->lvTaskMan);
  EXPECT_NE(std::string::npos, question.find(kChildName));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child_.hProcess, 5000));
  DWORD code = 0;
  GetExitCodeProcess(child_.hProcess, &code);
  EXPECT_EQ(1u, code);
  EXPECT_EQ(nullptr, ChildRow());
  EXPECT_TRUE(form_->lvTaskMan.Item(0) == nullptr || form_->lvTaskMan.Item(0)->Selected());
}

TEST_F(ProcessListTest, ProcessThatEndedBeforeTheAnswerJustLeavesTheList) {
  ASSERT_TRUE(WaitFor([this] {
    form_->bbtTaskManRefreshClick(form_.get());
    return ChildRow() != nullptr;
  }));
  SelectChild();
  AnswerNextBox("TfmMessageBox", VK_RETURN, [this](HWND) {
    TerminateProcess(child_.hProcess, 7);
    WaitForSingleObject(child_.hProcess, 5000);
  });
  ClickControl(form_->bbtTaskManKill);
  DWORD code = 0;
  GetExitCodeProcess(child_.hProcess, &code);
  EXPECT_EQ(7u, code);
  EXPECT_EQ(nullptr, ChildRow());
}

TEST_F(ProcessListTest, FilterKeepsMatchingNamesOnly) {
  form_->edTaskManFilter.SetText("KV_TASKMAN");
  ASSERT_TRUE(WaitFor([this] {
    form_->FillProcessList();
    return ChildRow() != nullptr;
  }));
  EXPECT_EQ(1, form_->lvTaskMan.ItemCount());
  form_->bbtTaskManRefreshClick(form_.get());
  EXPECT_EQ("", form_->edTaskManFilter.Text());
  EXPECT_GT(form_->lvTaskMan.ItemCount(), 1);
}

}  // namespace
