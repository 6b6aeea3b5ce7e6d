#include "kelvolite/app/main_form.h"

#include "kelvolite/controls/message_box.h"

TForm1::TForm1() : TForm(nullptr, "TForm1") {
  CreateComponents();
  DoCreate();
}

TForm1::~TForm1() { Destroying(); }

void TForm1::FormCreate(TObject*) {
  FRegistry = std::make_unique<TRegistry>();
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  TrayIcon.SetVisible(true);
  lvUninstall.AddColumn("Program Name", true);
  lvUninstall.AddColumn("Version", true);
  lvUninstall.AddColumn("Company", true);
  lvTaskMan.AddColumn("Name", true, 50);
#ifndef KV_BUILD_NT
  lvTaskMan.AddColumn("Path", true, 50);
#endif
  lvStartup.AddColumn("Name", true, 50);
  lvStartup.AddColumn("Path", true, 200);
  FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  FUninstallKeyPath = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  lPrivacyWarning.SetCaption(
      "WARNING!\nIn order to properly delete the selected \nitems you have to close the Internet Explorer");
  LoadHints();
  FNameList = std::make_unique<TStringList>();
  FBrowserName = "Internet Explorer";
}

// Runs when the window becomes the program's active form: at its first
// showing, not on the return from a dialog nor on a restore from the tray.
void TForm1::FormActivate(TObject*) {
  bbtUninstallIconClick(this);
  if (bbtUninstallIcon.Down())
    bbtUninstallIconClick(this);
  else if (bbtStartupIcon.Down())
    bbtStartupIconClick(this);
  else if (bbtTaskManIcon.Down())
    bbtTaskManIconClick(this);
  else if (bbtPrivacyIcon.Down())
    bbtPrivacyIconClick(this);
}

void TForm1::FormResize(TObject*) {
  if (pmiListViewList.Checked()) lvUninstall.SetViewStyle(vsList);
  if (FCurrentPage == pgUninstall) FillUninstallList();
}

void TForm1::FormCloseQuery(TObject*, bool& canClose) { canClose = true; }

void TForm1::FormDestroy(TObject*) {
  FRegistry.reset();
  TrayIcon.SetVisible(false);
}

void TForm1::Panel1MouseDown(TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); }

void TForm1::Image1MouseDown(TObject*, TMouseButton, TShiftState, int, int) { DragWindow(Handle()); }

void TForm1::SelectFirstItem(TListView& list) {
  if (TListItem* first = list.Item(0)) {
    first->SetSelected(true);
    first->SetFocused();
  }
}

void TForm1::FocusFirstItem(TListView& list) {
  SelectFirstItem(list);
  list.SetFocus();
}

void TForm1::RefreshListPage(TEdit& filter, void (TForm1::*scan)(), TListView& list) {
  filter.SetText("");
  (this->*scan)();
  FocusFirstItem(list);
}
