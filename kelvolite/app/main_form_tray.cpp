// The notification-area life of the window: Esc and the minimise button send
// the program to the tray; the tray menu brings it back.
#include "kelvolite/app/main_form.h"
#include "kelvolite/forms/application.h"

void TForm1::bbtExitIconClick(TObject*) {
  Application->Minimize();
  ShowWindow(Application->Handle(), SW_HIDE);
}

void TForm1::RestoreFromTray() { TrayIcon.Restore(); }

void TForm1::ShowPageFromTray(TPSpeedButton& navigationButton, void (TForm1::*click)(TObject*)) {
  RestoreFromTray();
  navigationButton.SetDown(true);
  (this->*click)(this);
}

void TForm1::pmiUninstallprogramsClick(TObject*) { ShowPageFromTray(bbtUninstallIcon, &TForm1::bbtUninstallIconClick); }
void TForm1::pmiStartupManagerClick(TObject*) { ShowPageFromTray(bbtStartupIcon, &TForm1::bbtStartupIconClick); }
void TForm1::pmiTaskManagerClick(TObject*) { ShowPageFromTray(bbtTaskManIcon, &TForm1::bbtTaskManIconClick); }
void TForm1::pmiPrivacymanagerClick(TObject*) { ShowPageFromTray(bbtPrivacyIcon, &TForm1::bbtPrivacyIconClick); }

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
