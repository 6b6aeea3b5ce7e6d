// The notification-area life of the window: Esc and the minimise button send
// the program to the tray; the tray menu brings it back.
#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/application.h"

void TForm1::bbtExitIconClick(TObject*) {
  Application->Minimize();
  ShowWindow(Application->Handle(), SW_HIDE);
}

void TForm1::RestoreFromTray() { TrayIcon.Restore(); }

void TForm1::pmiUninstallprogramsClick(TObject*) {
  RestoreFromTray();
  bbtUninstallIcon.SetDown(true);
  bbtUninstallIconClick(this);
}

void TForm1::pmiStartupManagerClick(TObject*) {
  RestoreFromTray();
  bbtStartupIcon.SetDown(true);
  bbtStartupIconClick(this);
}

void TForm1::pmiTaskManagerClick(TObject*) {
  RestoreFromTray();
  bbtTaskManIcon.SetDown(true);
  bbtTaskManIconClick(this);
}

void TForm1::pmiPrivacymanagerClick(TObject*) {
  RestoreFromTray();
  bbtPrivacyIcon.SetDown(true);
  bbtPrivacyIconClick(this);
}

void TForm1::pmiHelpClick(TObject*) {
  RestoreFromTray();
  bbtHelpIconClick(this);
}

void TForm1::pmiExitClick(TObject*) { Close(); }

void TForm1::pmiListViewIconClick(TObject*) {
  lvUninstall.SetViewStyle(vsIcon);
  pmiListViewIcon.SetChecked(true);
}

void TForm1::pmiListViewListClick(TObject*) {
  lvUninstall.SetViewStyle(vsList);
  pmiListViewList.SetChecked(true);
}

void TForm1::pmiListViewReportClick(TObject*) {
  lvUninstall.SetViewStyle(vsReport);
  pmiListViewReport.SetChecked(true);
}
