// The startup list: every item of the run keys and Startup folders, active
// ones ticked, then the disabled ones of the parallel stores unticked.
#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/forms/win_handle.h"
#include "kelvolite/startup/startup_entry.h"
#include "kelvolite/startup/startup_store_move.h"

namespace {

const char kShellFolders[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Lowered(std::string text) {
  // CharLowerBuffA follows the system's ANSI code page.
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

bool FilterAdmits(const std::string& filter, const std::string& name) {
  return filter.empty() || Lowered(name).find(Lowered(filter)) != std::string::npos;
}

void AddStartupRow(TListView& list, const std::string& caption, const std::string& path, int active,
                   int location) {
  TListItem* item = list.AddItem();
  item->SetCaption(caption);
  item->AddSubItem(path);
  item->SetChecked(active != 0);
  item->OwnData(std::make_unique<TPStartupEntry>(active, location));
}

// One registry store: its active or its disabled key.
void ReadRegistrySource(TForm1& form, const TStartupRegistryStore& store, int active) {
  TRegistry& reg = *form.FRegistry;
  reg.SetRootKey(store.root);
  // Read access is enough to list; a key only the administrator may change
  // is still shown, and a move that is refused is reported then.
  if (!reg.OpenKeyReadOnly(active ? store.activeKey : store.disabledKey)) return;
  reg.GetValueNames(*form.FNameList);
  const std::string filter = form.edStartupFilter.Text();
  for (const std::string& name : *form.FNameList)
    if (FilterAdmits(filter, name)) AddStartupRow(form.lvStartup, name, reg.ReadString(name), active, store.location);
  reg.CloseKey();
}

// The Startup folder that value `valueName` of the Shell Folders key under
// `root` names; empty when the key or the value is missing.
std::string ShellStartupFolder(TRegistry& reg, HKEY root, const char* valueName) {
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(kShellFolders)) return {};
  std::string folder = reg.ReadString(valueName);
  reg.CloseKey();
  return folder;
}

// The visible files of `folder` (one level); false when it cannot be listed.
bool ReadFolderSource(TForm1& form, const std::string& folder, int active, int location) {
  WIN32_FIND_DATAA found;
  TFindHandle find(FindFirstFileA((folder + "\\*.*").c_str(), &found));
  if (!find.Valid()) return false;
  const std::string filter = form.edStartupFilter.Text();
  do {
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN)) continue;
    std::string name = found.cFileName;
    if (FilterAdmits(filter, name)) AddStartupRow(form.lvStartup, name, folder + "\\" + name, active, location);
  } while (FindNextFileA(find.Get(), &found));
  return true;
}

}  // namespace

void TForm1::FillStartupList() {
  lvStartup.Hide();
  lvStartup.Clear();
  FStartupFolder = ShellStartupFolder(*FRegistry, HKEY_CURRENT_USER, "Startup");
  FCommonStartupFolder = ShellStartupFolder(*FRegistry, HKEY_LOCAL_MACHINE, "Common Startup");
  FDisabledStartupFolder = DisabledStartupFolderOf(FStartupFolder);
  FCommonDisabledStartupFolder = DisabledStartupFolderOf(FCommonStartupFolder);

  for (int i = 0; i < kStartupRegistryStoreCount; ++i) ReadRegistrySource(*this, kStartupRegistryStores[i], 1);
  // A Startup folder that is missing or unreadable only contributes nothing:
  // the disabled stores after it must stay visible so their items can be
  // switched back on.
  if (!FStartupFolder.empty()) ReadFolderSource(*this, FStartupFolder, 1, slUserStartupFolder);
  if (!FCommonStartupFolder.empty()) ReadFolderSource(*this, FCommonStartupFolder, 1, slCommonStartupFolder);

  for (int i = 0; i < kStartupRegistryStoreCount; ++i) ReadRegistrySource(*this, kStartupRegistryStores[i], 0);
  const struct {
    const std::string& folder;
    const std::string& startupFolder;
    int location;
  } disabledFolders[] = {{FDisabledStartupFolder, FStartupFolder, slUserStartupFolder},
                         {FCommonDisabledStartupFolder, FCommonStartupFolder, slCommonStartupFolder}};
  for (const auto& source : disabledFolders) {
    if (source.folder.empty() || ReadFolderSource(*this, source.folder, 0, source.location)) continue;
    // A disabled folder that does not exist yet is made now, hidden, beside
    // an existing Startup folder, ready for the first item switched off; it
    // is empty, so listing goes on with the next source.
    DWORD attributes = GetFileAttributesA(source.startupFolder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    DWORD rc = EnsureStartupFolder(source.folder, true);
    if (rc != ERROR_SUCCESS) ShowSystemError(rc);
  }

  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  lvStartup.Show();
}
