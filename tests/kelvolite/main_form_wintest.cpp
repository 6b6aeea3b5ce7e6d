// The main window as the user meets it: first page, navigation, hover texts,
// the tray, the list view's view-style menu.
#include "shell_fixture.h"

namespace {

const char kUninstallHeader[] = "Uninstall Manager - uninstall programs that you do not need anymore";
const char kStartupHeader[] = "Startup Manager - customize your startup settings";
const char kTaskManHeader[] = "Task Manager - force-quit unwanted processes or those that work improperly";
const char kPrivacyHeader[] = "Privacy Manager - Internet Explorer";

class MainForm : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    OpenMainForm();
  }
  // Exactly one page and its button bar are visible.
  void ExpectPage(TPanel& page, TPanel& bar, TPSpeedButton& nav, const char* header) {
    for (TPanel* p : {&form_->plUninstall, &form_->plStartup, &form_->plTaskMan, &form_->plPrivacy})
      EXPECT_EQ(p == &page, p->Visible() && IsWindowVisible(p->Handle())) << "page " << p->Name;
    for (TPanel* p : {&form_->plUninstallButtons, &form_->plStartupButtons, &form_->plTaskManButtons,
                      &form_->plPrivacyButtons})
      EXPECT_EQ(p == &bar, p->Visible());
    for (TPSpeedButton* b : {&form_->bbtUninstallIcon, &form_->bbtStartupIcon, &form_->bbtTaskManIcon,
                             &form_->bbtPrivacyIcon})
      EXPECT_EQ(b == &nav, b->Down());
    EXPECT_FALSE(form_->plWait.Visible());
    EXPECT_EQ(header, form_->lMessage.Caption());
  }
};

TEST_F(MainForm, FirstActivationShowsTheUninstallPageFocused) {
  EXPECT_EQ(pgUninstall, form_->FCurrentPage);
  ExpectPage(form_->plUninstall, form_->plUninstallButtons, form_->bbtUninstallIcon, kUninstallHeader);
  EXPECT_TRUE(form_->lvUninstall.Focused());
  EXPECT_EQ(vsIcon, form_->lvUninstall.ViewStyle());
  EXPECT_EQ(LVS_ICON, GetWindowLongPtrA(form_->lvUninstall.Handle(), GWL_STYLE) & LVS_TYPEMASK);
  EXPECT_TRUE(form_->pmiListViewIcon.Checked());
  // Borderless 688 x 443 window, centred on the screen.
  RECT r;
  GetWindowRect(form_->Handle(), &r);
  EXPECT_EQ(688, r.right - r.left);
  EXPECT_EQ(443, r.bottom - r.top);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 688) / 2, r.left);
  EXPECT_EQ(0, GetWindowLongPtrA(form_->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  // Owned by the application window, which carries the taskbar button.
  ASSERT_TRUE(IsWindow(app_->Handle()));
  EXPECT_EQ(app_->Handle(), GetWindow(form_->Handle(), GW_OWNER));
}

TEST_F(MainForm, NavigationButtonsSwitchPages) {
  ClickControl(form_->bbtStartupIcon);
  EXPECT_EQ(pgStartup, form_->FCurrentPage);
  ExpectPage(form_->plStartup, form_->plStartupButtons, form_->bbtStartupIcon, kStartupHeader);
  EXPECT_TRUE(form_->lvStartup.Focused());

  ClickControl(form_->bbtTaskManIcon);
  EXPECT_EQ(pgTaskMan, form_->FCurrentPage);
  ExpectPage(form_->plTaskMan, form_->plTaskManButtons, form_->bbtTaskManIcon, kTaskManHeader);

  ClickControl(form_->bbtPrivacyIcon);
  EXPECT_EQ(pgPrivacy, form_->FCurrentPage);
  ExpectPage(form_->plPrivacy, form_->plPrivacyButtons, form_->bbtPrivacyIcon, kPrivacyHeader);

  ClickControl(form_->bbtUninstallIcon);
  ExpectPage(form_->plUninstall, form_->plUninstallButtons, form_->bbtUninstallIcon, kUninstallHeader);
}

TEST_F(MainForm, ClickingTheCurrentPageButtonDoesNotRescan) {
  // A scan rewrites the status line; clicking the current page must not.
  form_->lUninstallNumber.SetCaption("untouched");
  ClickControl(form_->bbtUninstallIcon);
  EXPECT_EQ("untouched", form_->lUninstallNumber.Caption());
  EXPECT_TRUE(form_->bbtUninstallIcon.Down());
  EXPECT_EQ(pgUninstall, form_->FCurrentPage);
}

TEST_F(MainForm, HoverShowsThePageTextAndLeavingRestoresTheCurrentOne) {
  const struct {
    TPSpeedButton* button;
    const char* header;
  } cases[] = {{&form_->bbtStartupIcon, kStartupHeader},
               {&form_->bbtTaskManIcon, kTaskManHeader},
               {&form_->bbtPrivacyIcon, kPrivacyHeader}};
  for (const auto& c : cases) {
    MoveMouseTo(*c.button, 30, 30);
    EXPECT_EQ(c.header, form_->lMessage.Caption());
    EXPECT_EQ(c.button->ImageIndexUp(), c.button->FaceImageIndex());
    MoveMouseTo(form_->plLeft, 2, 2);
    EXPECT_EQ(kUninstallHeader, form_->lMessage.Caption());
    EXPECT_EQ(c.button->ImageIndexIDLE(), c.button->FaceImageIndex());
  }
}

TEST_F(MainForm, EscHidesToTheTrayAndDoubleClickOnTheIconBringsItBack) {
  PressKey(form_->lvUninstall.Handle(), VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(form_->Handle()));
  EXPECT_FALSE(IsWindowVisible(app_->Handle())) << "the taskbar button must go";
  EXPECT_TRUE(form_->TrayIcon.Visible());

  SendMessageA(form_->TrayIcon.Handle(), WM_APP + 0x200, 1, WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_TRUE(IsWindowVisible(app_->Handle()));
  EXPECT_FALSE(IsIconic(app_->Handle()));
  EXPECT_EQ(form_->Handle(), GetForegroundWindow());
  // Neither a page switch nor a rescan on the way back.
  EXPECT_EQ(pgUninstall, form_->FCurrentPage);
}

TEST_F(MainForm, TrayMenuPageItemsRestoreAndSwitch) {
  ClickControl(form_->bbtExitIcon);
  ASSERT_FALSE(IsWindowVisible(form_->Handle()));
  form_->pmiTaskManager.Click();
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  ExpectPage(form_->plTaskMan, form_->plTaskManButtons, form_->bbtTaskManIcon, kTaskManHeader);
}

TEST_F(MainForm, TrayExitEndsTheMessageLoop) {
  form_->pmiExit.Click();
  MSG msg;
  bool quit = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
  EXPECT_TRUE(quit);
  EXPECT_TRUE(app_->Terminated());
}

TEST_F(MainForm, ListStyleSurvivesAResize) {
  form_->pmiListViewList.Click();
  EXPECT_TRUE(form_->pmiListViewList.Checked());
  EXPECT_FALSE(form_->pmiListViewIcon.Checked());
  // Something else changes the style behind the menu's back; a resize puts
  // List back.
  SetWindowLongPtrA(form_->lvUninstall.Handle(), GWL_STYLE,
                    (GetWindowLongPtrA(form_->lvUninstall.Handle(), GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
  form_->SetBounds(form_->Left(), form_->Top(), 700, 450);
  Pump();
  EXPECT_EQ(LVS_LIST, GetWindowLongPtrA(form_->lvUninstall.Handle(), GWL_STYLE) & LVS_TYPEMASK);
  form_->pmiListViewReport.Click();
  EXPECT_EQ(LVS_REPORT, GetWindowLongPtrA(form_->lvUninstall.Handle(), GWL_STYLE) & LVS_TYPEMASK);
  EXPECT_FALSE(form_->pmiListViewList.Checked());
}

}  // namespace
