// The startup page's operations. The startup scan, apply, remove and the add
// dialog are still to come; until then the page lists nothing.
#include "kelvolite/app/main_form.h"

void TForm1::FillStartupList() { lvStartup.Clear(); }
bool TForm1::StartupChangesPending() { return false; }
void TForm1::bbtStartupApplyClick(TObject*) { FillStartupList(); }
void TForm1::bbtStartupRefreshClick(TObject*) {
  edStartupFilter.SetText("");
  FillStartupList();
  lvStartup.SetFocus();
}
void TForm1::bbtStartupRemoveClick(TObject*) { lvStartup.SetFocus(); }
void TForm1::bbtStartupAddClick(TObject* sender) { bbtStartupRefreshClick(sender); }
void TForm1::edStartupFilterChange(TObject*) { FillStartupList(); }
void TForm1::edStartupFilterKeyPress(TObject*, char&) {}
