// The uninstall page's actions: run an uninstaller and wait for it, delete
// leftover and phantom entries, refresh and filter the list, and label the
// Uninstall button and menu item for the selected row.
#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"
#include "kelvolite/controls/system_error.h"
#include "kelvolite/uninstall/registry_entry.h"
#include "kelvolite/uninstall/uninstall_command.h"

namespace {

const char kConfirmDelete[] = "\nDo you really want to delete \nthe regsitry entry of this program?";
const char kUninstallProblem[] = "Uninstall problem! \nIf you want to delete the entry press OK";
const char kUnfinished[] =
    "Uninstallation has not been completely finished\n due to a problem or the process has been canceled! "
    "\nClick OK if you want the entry to be deleted";
const char kDeleted[] = "The Registry Entry has been deleted!";

}  // namespace

// Deletes the entry's key, says how that went and lists the programs anew.
// A key that is still there (no rights to it) is not reported as deleted:
// the system says why, in the same box as the notice, and the row stays.
static void DeleteEntryAndRescan(TForm1& form, const std::string& keyPath) {
  form.FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  const bool deleted = form.FRegistry->DeleteKey(keyPath);
  const DWORD error = GetLastError();
  if (deleted || !form.FRegistry->KeyExists(keyPath))
    ShowMessageBox(&form, kDeleted, "Information", mbkOk);
  else
    ShowMessageBox(&form, SystemErrorText(error), "Error", mbkOk);
  form.FillUninstallList();
}

void TForm1::bbtUninstallClick(TObject*) {
  const TListItem* row = lvUninstall.Selected();
  if (const auto* entry = row ? static_cast<const TPRegistryEntry*>(row->Data()) : nullptr) {
    // Copies: a rescan while a box is open frees the row and its entry.
    const std::string keyPath = FUninstallKeyPath + entry->KeyName();
    const std::string command = entry->UninstallString();
    TWinHandle process;
    if (row->ImageIndex() == kPhantomPicture) {
      FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
      if (ShowMessageBox(this, kConfirmDelete, "Confirm", mbkYesNo) == mrYes) {
        DeleteEntryAndRescan(*this, keyPath);
        SelectFirstItem(lvUninstall);
      }
    } else if (!StartCommand(command, process)) {
      if (ShowMessageBox(this, kUninstallProblem, "Error", mbkOkCancel) == mrOk) {
        DeleteEntryAndRescan(*this, keyPath);
        SelectFirstItem(lvUninstall);
      }
    } else {
      WaitForProcessEnd(process.Get());
      FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
      if (!FRegistry->KeyExists(keyPath)) {
        FillUninstallList();
        SelectFirstItem(lvUninstall);
      } else if (ShowMessageBox(this, kUnfinished, "Error", mbkOkCancel) == mrOk) {
        DeleteEntryAndRescan(*this, keyPath);
        SelectFirstItem(lvUninstall);
      }
    }
  }
  lvUninstall.SetFocus();
  FCurrentPage = pgUninstall;
}

void TForm1::bbtUninstallRefreshClick(TObject*) {
  RefreshListPage(edUninstallFilter, &TForm1::FillUninstallList, lvUninstall);
}

void TForm1::edUninstallFilterChange(TObject*) { FillUninstallList(); }

void TForm1::edUninstallFilterKeyPress(TObject*, char& key) {
  if (key == '\r') FocusFirstItem(lvUninstall);
}

void TForm1::lvUninstallSelectItem(TObject*, TListItem*, bool) {
  const TListItem* row = lvUninstall.Selected();
  if (!row) return;
  const bool phantom = row->ImageIndex() == kPhantomPicture;
  // Idle, hover, pressed: the "Delete Entry" or the "Uninstall" picture.
  if (phantom)
    bbtUninstall.SetImageIndexes(30, 31, 32);
  else
    bbtUninstall.SetImageIndexes(12, 13, 14);
  bbtUninstall.Repaint();
  pmiListViewDelete.SetCaption(phantom ? "Delete Entry" : "Uninstall");
}

void TForm1::pmUninstallListViewPopup(TObject*) { pmiListViewDelete.SetEnabled(lvUninstall.SelCount() > 0); }
