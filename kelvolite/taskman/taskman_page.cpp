// The task manager page: the running processes from a Toolhelp snapshot,
// and termination of the selected one after a question.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/forms/win_handle.h"

namespace {

// The access the kill asks for: the NT 4 / 2000 / XP value of
// PROCESS_ALL_ACCESS (newer headers define a larger mask that those refuse).
constexpr DWORD kProcessAllAccess = 0x1F0FFF;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The executable's file name: what follows the last "\", or the whole name.
std::string FileNamePart(const std::string& exe) {
  std::string::size_type slash = exe.rfind('\\');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

}  // namespace

void TForm1::FillProcessList() {
  lvTaskMan.Hide();
  lvTaskMan.Clear();
  const std::string filter = Lower(edTaskManFilter.Text());
  TWinHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
  if (snapshot.Valid()) {
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    // The first entry (the idle process, or the 9x kernel) is never listed.
    if (Process32First(snapshot.Get(), &entry)) {
      lvTaskMan.BeginUpdate();
      while (entry.dwSize = sizeof entry, Process32Next(snapshot.Get(), &entry)) {
        const std::string exe = entry.szExeFile;
        if (!filter.empty() && Lower(exe).find(filter) == std::string::npos) continue;
        TListItem* row = lvTaskMan.AddItem();
        row->SetCaption(FileNamePart(exe));
#ifndef KV_BUILD_NT
        row->AddSubItem(exe);
#endif
        row->SetData(reinterpret_cast<void*>(static_cast<uintptr_t>(entry.th32ProcessID)));
      }
      lvTaskMan.EndUpdate();
    }
  }
  lvTaskMan.Show();
}

void TForm1::bbtTaskManKillClick(TObject*) {
  TListItem* row = lvTaskMan.SelCount() == 1 ? lvTaskMan.Selected() : nullptr;
  if (row) {
    const DWORD pid = static_cast<DWORD>(reinterpret_cast<uintptr_t>(row->Data()));
    // Opened before the question: the handle keeps the identifier from being
    // reused by another process while the box is up.
    TWinHandle process(OpenProcess(kProcessAllAccess, FALSE, pid));
    if (ShowMessageBox(this, "Do you really want to terminate the\n" + row->Caption() + " process?", "Confirm",
                       mbkYesNo) == mrYes) {
      if (process.Valid()) TerminateProcess(process.Get(), 1);
      process.Reset();
      FillProcessList();
      SelectFirstItem(lvTaskMan);
    }
  }
  lvTaskMan.SetFocus();
}

void TForm1::bbtTaskManRefreshClick(TObject*) { RefreshListPage(edTaskManFilter, &TForm1::FillProcessList, lvTaskMan); }

void TForm1::edTaskManFilterChange(TObject*) { FillProcessList(); }

void TForm1::edTaskManFilterKeyPress(TObject*, char& key) {
  if (key == '\r') FocusFirstItem(lvTaskMan);
}

void TForm1::lvTaskManDblClick(TObject* sender) { bbtTaskManKillClick(sender); }
