// Control notifications reach the control's own object (message + 0x6000)
// unless the parent handles them, from dialogs and from plain windows alike.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "setup/ui/dialog.h"
#include "ui_test_ids.h"
#include "ui_test_support.h"

namespace {

class RecordingControl : public WindowBase {
 public:
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message >= kReflectedMessage) {
      reflected.push_back(message);
      result = 77;
      return true;
    }
    return WindowBase::WindowProc(message, wParam, lParam, result);
  }
  std::vector<UINT> reflected;
};

// A parent that keeps notification code 999 for itself.
template <typename Base>
class Parent : public Base {
 public:
  bool OnNotify(UINT, NMHDR* header, LRESULT& result) override {
    if (header->code != 999)
      return false;
    result = 55;
    return true;
  }
};

struct Fixture {
  const char* name;
  bool dialog;
};

class Reflection : public testing::TestWithParam<Fixture> {
 protected:
  void SetUp() override {
    if (GetParam().dialog) {
      ASSERT_TRUE(dialogParent.CreateModelessDialog(MAKEINTRESOURCEA(IDD_LOOK), nullptr));
      parent = dialogParent.window;
      button = GetDlgItem(parent, IDB_CHILD);
    } else {
      ASSERT_TRUE(plainParent.CreateWindowObject(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100,
                                                 nullptr, nullptr));
      parent = plainParent.window;
      button = CreateWindowExA(0, "BUTTON", "child", WS_CHILD | BS_OWNERDRAW, 0, 0, 50, 20,
                               parent, reinterpret_cast<HMENU>(IDB_CHILD), nullptr, nullptr);
    }
    ASSERT_TRUE(button);
    ASSERT_TRUE(control.SubclassDialogItem(parent, IDB_CHILD));
  }
  void TearDown() override { DestroyWindow(parent); }

  LRESULT Notify(UINT code) {
    NMHDR header = {button, IDB_CHILD, code};
    return SendMessageA(parent, WM_NOTIFY, IDB_CHILD, reinterpret_cast<LPARAM>(&header));
  }

  TestApplication app;
  Parent<Dialog> dialogParent;
  Parent<WindowBase> plainParent;
  RecordingControl control;
  HWND parent = nullptr;
  HWND button = nullptr;
};

TEST_P(Reflection, NotifyAndCommandReachTheControlObject) {
  EXPECT_EQ(Notify(12345), 77);
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(IDB_CHILD, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = IDB_CHILD;
  draw.hwndItem = button;
  SendMessageA(parent, WM_DRAWITEM, IDB_CHILD, reinterpret_cast<LPARAM>(&draw));
  const std::vector<UINT> expected = {0x604E, 0x6111, 0x602B};
  EXPECT_EQ(control.reflected, expected);
}

TEST_P(Reflection, ParentHandlingStopsReflection) {
  EXPECT_EQ(Notify(999), 55);
  EXPECT_TRUE(control.reflected.empty());
}

INSTANTIATE_TEST_SUITE_P(Parents, Reflection,
                         testing::Values(Fixture{"dialog", true}, Fixture{"window", false}),
                         [](const testing::TestParamInfo<Fixture>& i) {
                           return std::string(i.param.name);
                         });

}  // namespace
