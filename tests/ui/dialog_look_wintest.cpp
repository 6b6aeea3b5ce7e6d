// The look encoded in control ids: fonts given at WM_INITDIALOG and the
// colours answered to WM_CTLCOLORSTATIC, and the hyperlink control.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "setup/ui/dialog.h"
#include "setup/ui/hyperlink.h"
#include "ui_test_ids.h"
#include "ui_test_support.h"

namespace {

class LookDialog : public Dialog {
 public:
  bool OnCommand(UINT code, UINT id, HWND control) override {
    commands.push_back(id);
    return Dialog::OnCommand(code, id, control);
  }
  std::vector<UINT> commands;
};

LOGFONTA FontOf(HWND control) {
  LOGFONTA lf = {};
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  EXPECT_TRUE(font);
  GetObjectA(font, sizeof(lf), &lf);
  return lf;
}

struct StyleCase {
  int id;
  enum { Title, Bold, Normal, DialogFont } font;
  int textColour;   // system colour index, -1: the system's default answer
  int background;   // system colour index, -1: transparent
};

class DialogLookTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.CreateModelessDialog(MAKEINTRESOURCEA(IDD_LOOK), nullptr));
  }
  void TearDown() override {
    if (dialog.window)
      DestroyWindow(dialog.window);
  }
  TestApplication app;
  LookDialog dialog;
};

TEST_F(DialogLookTest, ControlStyleIdsGiveFontsAndColours) {
  const StyleCase cases[] = {
      {IDT_TITLE, StyleCase::Title, COLOR_WINDOWTEXT, -1},
      {IDT_BOLD, StyleCase::Bold, COLOR_WINDOWTEXT, -1},
      {IDT_NORMAL, StyleCase::Normal, COLOR_WINDOWTEXT, -1},
      {IDT_DIALOG_FONT, StyleCase::DialogFont, COLOR_WINDOWTEXT, -1},
      {IDT_ON_WINDOW, StyleCase::DialogFont, COLOR_WINDOWTEXT, COLOR_WINDOW},
      {IDT_PLAIN, StyleCase::DialogFont, -1, -1},
  };
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog.window, WM_GETFONT, 0, 0));
  ASSERT_TRUE(dialogFont);
  LOGFONTA base = {};
  GetObjectA(dialogFont, sizeof(base), &base);

  for (const StyleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    HWND control = GetDlgItem(dialog.window, c.id);
    ASSERT_TRUE(control);
    const LOGFONTA lf = FontOf(control);
    switch (c.font) {
      case StyleCase::Title:
        EXPECT_STREQ(lf.lfFaceName, "Tahoma");
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(lf.lfHeight, MulDiv(base.lfHeight, 120, 100));
        break;
      case StyleCase::Bold:
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(lf.lfHeight, base.lfHeight);
        break;
      case StyleCase::Normal:
        EXPECT_EQ(lf.lfWeight, FW_NORMAL);
        EXPECT_EQ(lf.lfHeight, base.lfHeight);
        break;
      case StyleCase::DialogFont:
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                  dialogFont);
        break;
    }

    HDC dc = GetDC(control);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    const HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(
        dialog.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
        reinterpret_cast<LPARAM>(control)));
    const HBRUSH nullBrush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    if (c.textColour < 0) {
      EXPECT_NE(brush, nullBrush);
      EXPECT_EQ(GetBkMode(dc), OPAQUE);
    } else {
      EXPECT_EQ(GetTextColor(dc), GetSysColor(c.textColour));
      if (c.background < 0) {
        EXPECT_EQ(brush, nullBrush);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
      } else {
        LOGBRUSH lb = {};
        ASSERT_TRUE(GetObjectA(brush, sizeof(lb), &lb));
        EXPECT_EQ(lb.lbColor, GetSysColor(c.background));
        EXPECT_EQ(GetBkMode(dc), OPAQUE);
        EXPECT_EQ(GetBkColor(dc), GetSysColor(c.background));
      }
    }
    ReleaseDC(control, dc);
  }
}

TEST_F(DialogLookTest, FontSetIsDeletedWithTheDialog) {
  HFONT title = reinterpret_cast<HFONT>(
      SendMessageA(GetDlgItem(dialog.window, IDT_TITLE), WM_GETFONT, 0, 0));
  ASSERT_EQ(GetObjectType(title), DWORD(OBJ_FONT));
  DestroyWindow(dialog.window);
  EXPECT_EQ(dialog.window, nullptr) << "still bound after destruction";
  EXPECT_EQ(GetObjectType(title), 0u);
}

TEST_F(DialogLookTest, HyperlinkWithHashTargetPostsCommandToParent) {
  Hyperlink link;
  ASSERT_TRUE(link.Create(dialog.window, IDT_LINK));
  HWND control = link.window;
  EXPECT_EQ(SendMessageA(control, WM_NCHITTEST, 0, 0), HTCLIENT);
  EXPECT_TRUE(FontOf(control).lfUnderline);

  HDC dc = GetDC(control);
  SendMessageA(dialog.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(control));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(control, dc);

  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_TRUE(PumpUntil([&] { return !dialog.commands.empty(); }));
  ASSERT_EQ(dialog.commands.size(), 1u);
  EXPECT_EQ(dialog.commands[0], 1006u);

  // Without a target nothing is posted: a marker posted after the click is
  // the first command to arrive.
  SetWindowTextA(control, "Help only");
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  PostMessageA(dialog.window, WM_COMMAND, 4321, 0);
  EXPECT_TRUE(PumpUntil([&] { return dialog.commands.size() >= 2; }));
  EXPECT_EQ(dialog.commands.back(), 4321u);
  EXPECT_EQ(dialog.commands.size(), 2u);
}

}  // namespace
