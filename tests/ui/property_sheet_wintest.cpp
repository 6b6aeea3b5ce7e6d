// A modeless wizard of two pages under the application's message loop,
// driven by posted button presses: the pages get their PSN notifications,
// the sheet records the active page, goes away when finished or cancelled
// (ending the loop, as the main window) and the pages are deleted with it.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "setup/ui/property_sheet.h"
#include "ui_test_ids.h"
#include "ui_test_support.h"

namespace {

std::vector<std::string> g_events;
int g_pagesDeleted = 0;

class RecordingPage : public PropertyPageWindow {
 public:
  RecordingPage(UINT id, const char* name, DWORD buttons)
      : PropertyPageWindow(id), name_(name), buttons_(buttons) {}
  ~RecordingPage() override { ++g_pagesDeleted; }

  bool mayLeave = true;

  bool ExchangeData(bool save) override { return !save || mayLeave; }
  LRESULT OnSetActive() override {
    Log("setactive");
    PostMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, buttons_);
    return PropertyPageWindow::OnSetActive();
  }
  bool OnKillActive() override {
    Log("killactive");
    return PropertyPageWindow::OnKillActive();
  }
  LRESULT OnWizardNext() override {
    Log("wiznext");
    return PropertyPageWindow::OnWizardNext();
  }
  bool OnWizardFinish() override {
    Log("wizfinish");
    return PropertyPageWindow::OnWizardFinish();
  }
  bool OnQueryCancel() override {
    Log("querycancel");
    return PropertyPageWindow::OnQueryCancel();
  }

 private:
  void Log(const char* event) { g_events.push_back(name_ + ":" + event); }
  std::string name_;
  DWORD buttons_;
};

bool g_watchdogFired = false;
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  g_watchdogFired = true;
  PostQuitMessage(99);
}

class Wizard : public testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    g_pagesDeleted = 0;
    g_watchdogFired = false;
    one = new RecordingPage(IDD_PAGE_ONE, "one", PSWIZB_NEXT);
    two = new RecordingPage(IDD_PAGE_TWO, "two", PSWIZB_BACK | PSWIZB_FINISH);
    sheet.header.dwFlags = PSH_WIZARD | PSH_NOAPPLYNOW;
    sheet.header.pszCaption = "Wizard";
    sheet.flags |= kWindowMain;
    ASSERT_TRUE(sheet.AddPage(*one));
    ASSERT_TRUE(sheet.AddPage(*two));
    ASSERT_TRUE(sheet.RunModeless(nullptr));
    app.mainWindow = &sheet;
  }
  // Runs the loop until the sheet is gone (or the watchdog gives up).
  int RunLoop() {
    const UINT_PTR timer = SetTimer(nullptr, 0, 15000, Watchdog);
    const int code = app.Run();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_watchdogFired) << "the sheet never went away";
    if (sheet.window)
      DestroyWindow(sheet.window);
    return code;
  }

  TestApplication app;
  PropertySheetWindow sheet;
  RecordingPage* one = nullptr;
  RecordingPage* two = nullptr;
};

TEST_F(Wizard, NextAndFinishReachThePagesAndEndTheLoop) {
  PostMessageA(sheet.window, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  PostMessageA(sheet.window, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
  EXPECT_EQ(RunLoop(), 0);
  const std::vector<std::string> expected = {"one:setactive", "one:wiznext", "one:killactive",
                                             "two:setactive", "two:wizfinish"};
  EXPECT_EQ(g_events, expected);
  EXPECT_EQ(sheet.activeIndex, 1);
  EXPECT_EQ(sheet.window, nullptr);
  EXPECT_EQ(g_pagesDeleted, 2);
}

TEST_F(Wizard, PageThatRefusesToBeLeftStaysUntilCancel) {
  one->mayLeave = false;
  PostMessageA(sheet.window, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
  PostMessageA(sheet.window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  EXPECT_EQ(RunLoop(), 0);
  const std::vector<std::string> expected = {"one:setactive", "one:wiznext",
                                             "one:querycancel"};
  EXPECT_EQ(g_events, expected);
  EXPECT_EQ(sheet.activeIndex, 0);
  EXPECT_EQ(g_pagesDeleted, 2);
}

}  // namespace
