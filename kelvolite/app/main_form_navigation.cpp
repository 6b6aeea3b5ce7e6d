// Page switching and the header texts of the navigation bar.
#include "kelvolite/app/main_form.h"
#include "kelvolite/controls/message_box.h"

std::string TForm1::PageHeader(int page) const {
  switch (page) {
    case pgUninstall: return "Uninstall Manager - uninstall programs that you do not need anymore";
    case pgStartup: return "Startup Manager - customize your startup settings";
    case pgTaskMan: return "Task Manager - force-quit unwanted processes or those that work improperly";
    case pgPrivacy: return "Privacy Manager - " + FBrowserName;
    default: return lMessage.Caption();
  }
}

void TForm1::HidePages() {
  for (TPanel* p : {&plUninstallButtons, &plStartupButtons, &plPrivacyButtons, &plTaskManButtons, &plStartup,
                    &plUninstall, &plPrivacy, &plTaskMan})
    p->Hide();
}

namespace {

// Leaving the startup page with unapplied ticks: true when the switch may go on.
bool MayLeaveStartupPage(TForm1& form) {
  if (form.FCurrentPage != pgStartup || !form.StartupChangesPending()) return true;
  switch (ShowMessageBox(&form, "Do you want save the modifications?", "Confirmation", mbkYesNoCancel)) {
    case mrYes:
      form.bbtStartupApplyClick(&form);
      return true;
    case mrNo:
      return true;
    case mrCancel:
      form.bbtStartupIcon.SetDown(true);
      return false;
    default:
      return false;
  }
}

}  // namespace

void TForm1::ShowListPage(TPanel& buttons, void (TForm1::*scan)(), TPanel& page, TListView& list) {
  HidePages();
  buttons.Show();
  Repaint();
  (this->*scan)();
  page.Show();
  plWait.Hide();
  FocusFirstItem(list);
  lMessage.SetCaption(PageHeader(FCurrentPage));
}

void TForm1::bbtUninstallIconClick(TObject*) {
  if (FCurrentPage == pgUninstall || !MayLeaveStartupPage(*this)) return;
  FCurrentPage = pgUninstall;
  edUninstallFilter.SetText("");
  ShowListPage(plUninstallButtons, &TForm1::FillUninstallList, plUninstall, lvUninstall);
}

void TForm1::bbtStartupIconClick(TObject*) {
  if (FCurrentPage == pgStartup) return;
  FCurrentPage = pgStartup;
  ShowListPage(plStartupButtons, &TForm1::FillStartupList, plStartup, lvStartup);
}

void TForm1::bbtTaskManIconClick(TObject*) {
  if (FCurrentPage == pgTaskMan || !MayLeaveStartupPage(*this)) return;
  FCurrentPage = pgTaskMan;
  ShowListPage(plTaskManButtons, &TForm1::FillProcessList, plTaskMan, lvTaskMan);
}

void TForm1::bbtPrivacyIconClick(TObject*) {
  if (FCurrentPage == pgPrivacy || !MayLeaveStartupPage(*this)) return;
  FCurrentPage = pgPrivacy;
  HidePages();
  DetectOpera();
  plPrivacyButtons.Show();
  plPrivacy.Show();
  plWait.Hide();
  lMessage.SetCaption(PageHeader(pgPrivacy));
}

void TForm1::bbtUninstallIconMouseEnter(TObject*) { lMessage.SetCaption(PageHeader(pgUninstall)); }
void TForm1::bbtStartupIconMouseEnter(TObject*) { lMessage.SetCaption(PageHeader(pgStartup)); }
void TForm1::bbtTaskManIconMouseEnter(TObject*) { lMessage.SetCaption(PageHeader(pgTaskMan)); }
void TForm1::bbtPrivacyIconMouseEnter(TObject*) { lMessage.SetCaption(PageHeader(pgPrivacy)); }

void TForm1::bbtUninstallIconMouseLeave(TObject*) { lMessage.SetCaption(PageHeader(FCurrentPage)); }
void TForm1::bbtStartupIconMouseLeave(TObject*) { lMessage.SetCaption(PageHeader(FCurrentPage)); }
void TForm1::bbtTaskManIconMouseLeave(TObject*) { lMessage.SetCaption(PageHeader(FCurrentPage)); }
void TForm1::bbtPrivacyIconMouseLeave(TObject*) { lMessage.SetCaption(PageHeader(FCurrentPage)); }
