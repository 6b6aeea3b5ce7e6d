// Applying the ticks of the startup list, and removing an item.
#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/forms/win_handle.h"
#include "kelvolite/startup/startup_entry.h"
#include "kelvolite/startup/startup_store_move.h"

namespace {

TPStartupEntry* EntryOf(const TListItem* item) {
  return item ? dynamic_cast<TPStartupEntry*>(static_cast<TObject*>(item->Data())) : nullptr;
}

std::string PathOf(const TListItem* item) { return item->SubItems().empty() ? std::string() : item->SubItems()[0]; }

// A row the user ticked or unticked since the last rebuild.
bool Changed(const TListItem* item) {
  const TPStartupEntry* entry = EntryOf(item);
  return entry && (item->Checked() ? 1 : 0) != entry->Active();
}

}  // namespace

bool TForm1::StartupChangesPending() {
  for (int i = 0; i < lvStartup.ItemCount(); ++i)
    if (Changed(lvStartup.Item(i))) return true;
  return false;
}

void TForm1::bbtStartupApplyClick(TObject*) {
  for (int i = 0; i < lvStartup.ItemCount(); ++i) {
    TListItem* item = lvStartup.Item(i);
    if (!Changed(item)) continue;
    const bool enable = item->Checked();
    const int location = EntryOf(item)->Location();
    DWORD rc = ERROR_SUCCESS;
    if (const TStartupRegistryStore* store = StartupRegistryStore(location)) {
      rc = MoveStartupValue(store->root, enable ? store->disabledKey : store->activeKey,
                            enable ? store->activeKey : store->disabledKey, item->Caption());
      // A value that is no longer where the list found it is left alone.
      if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    } else if (location == slUserStartupFolder || location == slCommonStartupFolder) {
      const bool user = location == slUserStartupFolder;
      const std::string& target = enable ? (user ? FStartupFolder : FCommonStartupFolder)
                                         : (user ? FDisabledStartupFolder : FCommonDisabledStartupFolder);
      rc = MoveStartupFile(PathOf(item), target, item->Caption(), !enable);
    }
    if (rc != ERROR_SUCCESS) ShowSystemError(rc);
  }
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  FillStartupList();
  SelectFirstItem(lvStartup);
  lvStartup.SetFocus();
}

void TForm1::bbtStartupRemoveClick(TObject*) {
  const TListItem* item = lvStartup.Selected();
  const TPStartupEntry* entry = EntryOf(item);
  if (!entry) {
    lvStartup.SetFocus();
    FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
    return;
  }
  const std::string name = item->Caption(), path = PathOf(item);
  const int active = entry->Active(), location = entry->Location();
  if (ShowMessageBox(this, "Do you really want to delete \n" + name + " from Startup?", "Confirm", mbkYesNo) ==
      mrYes) {
    // The store is the one the item was found in, whatever its tick says now.
    if (const TStartupRegistryStore* store = StartupRegistryStore(location)) {
      TRegKey key;
      const char* keyPath = (active ? store->activeKey : store->disabledKey) + 1;  // relative to the root
      LONG rc = RegOpenKeyExA(store->root, keyPath, 0, KEY_ALL_ACCESS, key.Receive());
      if (rc == ERROR_SUCCESS) rc = RegDeleteValueA(key.Get(), name.c_str());
      // An item already gone is no error; a refusal is.
      if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) ShowSystemError(static_cast<DWORD>(rc));
    } else if (!DeleteFileA(path.c_str())) {
      ShowSystemError(GetLastError());
    }
  }
  FillStartupList();
  SelectFirstItem(lvStartup);
  lvStartup.SetFocus();
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
}
