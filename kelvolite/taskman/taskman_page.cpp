// The task manager page's operations. The process list is still to come;
// until then the page lists nothing.
#include "kelvolite/app/main_form.h"

void TForm1::FillProcessList() { lvTaskMan.Clear(); }
void TForm1::bbtTaskManKillClick(TObject*) { lvTaskMan.SetFocus(); }
void TForm1::bbtTaskManRefreshClick(TObject*) {
  edTaskManFilter.SetText("");
  FillProcessList();
  lvTaskMan.SetFocus();
}
void TForm1::edTaskManFilterChange(TObject*) { FillProcessList(); }
void TForm1::edTaskManFilterKeyPress(TObject*, char&) {}
void TForm1::lvTaskManDblClick(TObject* sender) { bbtTaskManKillClick(sender); }
