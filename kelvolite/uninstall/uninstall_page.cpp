// The uninstall page's operations. The installed-program scan and the
// uninstall actions are still to come; until then the page lists nothing.
#include "kelvolite/app/main_form.h"

void TForm1::FillUninstallList() {
  lvUninstall.Clear();
  lUninstallNumber.SetCaption(" You have 0 installed programs, whom 0 are 'phantom' programs!");
}
void TForm1::bbtUninstallClick(TObject*) {
  lvUninstall.SetFocus();
  FCurrentPage = pgUninstall;
}
void TForm1::bbtUninstallRefreshClick(TObject*) {
  edUninstallFilter.SetText("");
  FillUninstallList();
  SelectFirstItem(lvUninstall);
  lvUninstall.SetFocus();
}
void TForm1::edUninstallFilterChange(TObject*) { FillUninstallList(); }
void TForm1::edUninstallFilterKeyPress(TObject*, char& key) {
  if (key == '\r') {
    SelectFirstItem(lvUninstall);
    lvUninstall.SetFocus();
  }
}
void TForm1::lvUninstallSelectItem(TObject*, TListItem*, bool) {}
void TForm1::pmUninstallListViewPopup(TObject*) { pmiListViewDelete.SetEnabled(lvUninstall.SelCount() > 0); }
