// The installed-program scan: every subkey of the machine's uninstall key
// becomes a row of lvUninstall, with a probe of its uninstall command and
// the program's icon.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/win_handle.h"
#include "kelvolite/uninstall/program_icon.h"
#include "kelvolite/uninstall/registry_entry.h"
#include "kelvolite/uninstall/uninstall_command.h"

namespace {

const char kUninstallKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kWaitText[] = "\n\n\n\n\nPlease wait while the program is\nchecking your installed programs!";

std::string Lower(std::string s) {
  if (!s.empty()) CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// Processes of the 16-bit subsystem running now. A probe of a 16-bit
// uninstaller on NT can leave one behind after its process is terminated.
std::vector<DWORD> NtvdmProcesses() {
  std::vector<DWORD> found;
  TWinHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) return found;
  PROCESSENTRY32 pe = {};
  pe.dwSize = sizeof pe;
  for (BOOL more = Process32First(snapshot.Get(), &pe); more; more = Process32Next(snapshot.Get(), &pe)) {
    const char* exe = pe.szExeFile;
    if (const char* slash = strrchr(exe, '\\')) exe = slash + 1;  // 9x gives full paths
    if (lstrcmpiA(exe, "ntvdm.exe") == 0) found.push_back(pe.th32ProcessID);
  }
  return found;
}

// Ends the 16-bit subsystems that the scan's probes started; those the user
// was already running are left alone.
void EndNtvdmProcessesSince(const std::vector<DWORD>& before) {
  for (DWORD pid : NtvdmProcesses()) {
    if (std::find(before.begin(), before.end(), pid) != before.end()) continue;
    TWinHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
    if (process.Valid()) TerminateProcess(process.Get(), 1);
  }
}

}  // namespace

void TForm1::FillUninstallList() {
  lvUninstall.Hide();
  lWait.SetCaption(kWaitText);
  plWait.Show();
  plWait.BringToFront();
  plWait.Repaint();
  const std::vector<DWORD> ntvdmBefore = NtvdmProcesses();

  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  FNameList->Clear();
  if (FRegistry->OpenKeyReadOnly(kUninstallKey)) FRegistry->GetKeyNames(*FNameList);
  const std::vector<std::string> keyNames(FNameList->begin(), FNameList->end());

  lvUninstall.BeginUpdate();
  lvUninstall.Clear();
  ilUninstallLargeIcons.Clear();
  ilUninstallSmallIcons.Clear();
  ilUninstallLargeIcons.AddImages(ilNoIconNagy);
  ilUninstallSmallIcons.AddImages(ilNoIconKicsi);
  const std::string filter = Lower(edUninstallFilter.Text());

  for (const std::string& keyName : keyNames) {
    // Read-only, so that a user without write access still sees the list;
    // a key that cannot be read is left out.
    if (!FRegistry->OpenKeyReadOnly(FUninstallKeyPath + keyName)) continue;
    const bool hasCommand = FRegistry->ValueExists("UninstallString");
    const bool hasName = FRegistry->ValueExists("DisplayName");
    if (!hasCommand && !hasName) continue;
    auto entry = std::make_unique<TPRegistryEntry>(keyName, hasName ? FRegistry->ReadString("DisplayName") : keyName,
                                                   FRegistry->ReadString("UninstallString"));
    if (!filter.empty() && Lower(entry->DisplayName()).find(filter) == std::string::npos) continue;
    entry->SetPublisher(FRegistry->ReadString("Publisher"));
    entry->SetDisplayVersion(FRegistry->ReadString("DisplayVersion"));
    const std::string displayIcon = FRegistry->ReadString("DisplayIcon");

    const std::string& command = entry->UninstallString();
    if (!hasCommand || command.empty() || command == "0" || !ProbeCommand(command)) {
      entry->SetIconIndex(kPhantomPicture);
    } else {
      FCurrentEntry = entry.get();
      FindProgramIcon(*this, displayIcon, hasName);
      FCurrentEntry = nullptr;
    }

    TListItem* row = lvUninstall.AddItem();
    row->SetCaption(entry->DisplayName());
    row->SetImageIndex(entry->IconIndex());
    row->AddSubItem(entry->DisplayVersion());
    row->AddSubItem(entry->Publisher());
    row->OwnData(std::move(entry));
  }
  lvUninstall.EndUpdate();

  FRegistry->CloseKey();
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  plWait.Hide();
  int phantoms = 0;
  const int rows = lvUninstall.ItemCount();
  for (int i = 0; i < rows; ++i)
    if (lvUninstall.Item(i)->ImageIndex() == kPhantomPicture) ++phantoms;
  lUninstallNumber.SetCaption(" You have " + std::to_string(rows) + " installed programs, whom " +
                              std::to_string(phantoms) + " are 'phantom' programs!");
  lvUninstall.Show();
  EndNtvdmProcessesSince(ntvdmBefore);
  if (lvUninstall.ViewStyle() == vsList) {
    // Lays the list out anew.
    lvUninstall.SetViewStyle(vsReport);
    lvUninstall.SetViewStyle(vsList);
  }
}
