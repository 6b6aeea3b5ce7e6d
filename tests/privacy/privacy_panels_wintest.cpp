// The privacy page's panels: group logic of the check boxes, the summary
// of chosen actions, the sub-panel strip and the Opera gate.
#include "privacy_test_support.h"

namespace {

class PrivacyPanelsTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    OpenMainForm();
    ClickControl(form_->bbtPrivacyIcon);
  }
  // A click as the user gives it, through the box's own notification.
  void Click(TCheckBox& box) {
    SendMessageA(box.Handle(), BM_CLICK, 0, 0);
    Pump();
  }
};

TEST_F(PrivacyPanelsTest, SummaryListsTickedActionsInFixedOrderInBothLabels) {
  TForm1& f = *form_;
  EXPECT_EQ("Privacy Manager - Internet Explorer", f.lMessage.Caption());
  Click(f.cbCookies);
  EXPECT_EQ("    Delete Cookies\n", f.lPrivacyIEList.Caption());
  EXPECT_FALSE(f.cbPrivacyIESelectAll.Checked());

  ClickControl(f.bbtWindows);
  EXPECT_EQ("Privacy Manager - Windows", f.lMessage.Caption());
  Click(f.cbPrivacyWindowsSelectAll);
  EXPECT_TRUE(f.cbRecycleBin.Checked() && f.cbRecent.Checked() && f.cbWinTemp.Checked());
  const std::string expected =
      "    Delete Cookies\n    Empty Recycle Bin\n    Delete Recent Documents\n    Delete Windows Temporary Files\n";
  EXPECT_EQ(expected, f.lPrivacyWindowsList.Caption());
  EXPECT_EQ(expected, f.lPrivacyIEList.Caption());

  // Opera boxes never show in the summary.
  f.bbtPrivacyOperaSelectAllClick(&f);
  EXPECT_EQ(expected, f.lPrivacyIEList.Caption());
}

// The window the user sees at the middle of `box` (what lies in front).
HWND WindowSeenAt(TCheckBox& box) {
  POINT pt = {box.Width() / 2, box.Height() / 2};
  ClientToScreen(box.Handle(), &pt);
  return WindowFromPoint(pt);
}

TEST_F(PrivacyPanelsTest, TheSubPanelInFrontMatchesTheHeader) {
  TForm1& f = *form_;
  // The first boxes of both panels share one place; at the start the
  // Internet Explorer panel is the one in front.
  const struct {
    TPSpeedButton* strip;
    TCheckBox* seen;
    const char* header;
  } steps[] = {{nullptr, &f.cbInternetFiles, "Privacy Manager - Internet Explorer"},
               {&f.bbtWindows, &f.cbRecycleBin, "Privacy Manager - Windows"},
               {&f.bbtIE, &f.cbInternetFiles, "Privacy Manager - Internet Explorer"}};
  for (const auto& s : steps) {
    if (s.strip) ClickControl(*s.strip);
    EXPECT_EQ(s.header, f.lMessage.Caption());
    EXPECT_EQ(s.seen->Handle(), WindowSeenAt(*s.seen)) << s.header << ": " << s.seen->Text();
  }
}

TEST_F(PrivacyPanelsTest, SelectAllFollowsTheMembersWithoutFeedback) {
  TForm1& f = *form_;
  TCheckBox* members[] = {&f.cbInternetFiles, &f.cbCookies, &f.cbHistory, &f.cbFavorites, &f.cbURLs};
  for (TCheckBox* cb : members) {
    EXPECT_FALSE(f.cbPrivacyIESelectAll.Checked());
    Click(*cb);
  }
  EXPECT_TRUE(f.cbPrivacyIESelectAll.Checked());
  EXPECT_EQ(
      "    Delete Temporary Internet Files\n    Delete Cookies\n    Delete History\n    Delete Favorites\n"
      "    Delete typed URL's\n",
      f.lPrivacyIEList.Caption());
  // Unticking one member unticks the group box and only that member.
  Click(f.cbHistory);
  EXPECT_FALSE(f.cbPrivacyIESelectAll.Checked());
  for (TCheckBox* cb : members) EXPECT_EQ(cb != &f.cbHistory, cb->Checked());
  EXPECT_EQ(0, f.cbPrivacyIESelectAll.Tag);
  // The group box now ticks and unticks all.
  Click(f.cbPrivacyIESelectAll);
  for (TCheckBox* cb : members) EXPECT_TRUE(cb->Checked());
  Click(f.cbPrivacyIESelectAll);
  for (TCheckBox* cb : members) EXPECT_FALSE(cb->Checked());
  EXPECT_EQ("", f.lPrivacyIEList.Caption());
}

TEST_F(PrivacyPanelsTest, TicksAndPanelSurviveAVisitToAnotherPage) {
  TForm1& f = *form_;
  ClickControl(f.bbtWindows);
  Click(f.cbRecent);
  ClickControl(f.bbtTaskManIcon);
  ClickControl(f.bbtPrivacyIcon);
  EXPECT_TRUE(f.cbRecent.Checked());
  EXPECT_TRUE(f.bbtWindows.Down());
  EXPECT_EQ("Privacy Manager - Windows", f.lMessage.Caption());
}

TEST_F(PrivacyPanelsTest, OperaPanelIsHiddenAndItsBoxesFollowDetection) {
  TForm1& f = *form_;
  EXPECT_FALSE(f.bbtOpera.Visible());
  EXPECT_FALSE(f.FOperaInstalled);
  f.bbtOperaClick(&f);
  EXPECT_TRUE(f.plPrivacyOpera.Visible());
  EXPECT_FALSE(f.plPrivacyIE.Visible());
  EXPECT_FALSE(f.cbOperaCookies.Enabled());
  EXPECT_EQ("Privacy Manager - Opera", f.lMessage.Caption());

  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                                           "Software\\Netscape\\Netscape Navigator\\5.0, Opera\\Main", 0, nullptr,
                                           0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegCloseKey(key);
  f.DetectOpera();
  f.bbtOperaClick(&f);
  EXPECT_TRUE(f.cbOperaCookies.Enabled());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape Navigator\\5.0, Opera\\Main");

  ClickControl(f.bbtIE);
  EXPECT_TRUE(f.plPrivacyIE.Visible());
  EXPECT_EQ("Privacy Manager - Internet Explorer", f.lMessage.Caption());
}

}  // namespace
