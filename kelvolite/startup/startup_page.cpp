// The startup page's button bar: refresh, the (hidden) filter box, and the
// add button with its dialog.
#include "kelvolite/app/main_form.h"
#include "kelvolite/startup/startup_create_dialog.h"

void TForm1::bbtStartupRefreshClick(TObject*) { RefreshListPage(edStartupFilter, &TForm1::FillStartupList, lvStartup); }

void TForm1::edStartupFilterChange(TObject*) { FillStartupList(); }

void TForm1::edStartupFilterKeyPress(TObject*, char& key) {
  if (key == '\r') FocusFirstItem(lvStartup);
}

void TForm1::bbtStartupAddClick(TObject* sender) {
  {
    TfmStartupCreateDialog dialog(this);
    fmStartupCreateDialog = &dialog;
    dialog.ShowModal();
    fmStartupCreateDialog = nullptr;
  }
  bbtStartupRefreshClick(sender);
}
