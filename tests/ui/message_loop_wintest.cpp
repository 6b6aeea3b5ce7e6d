// Exceptions thrown by handlers stay inside the framework's procedures: they
// are reported to the application, and the loop goes on unless the report
// ends the run (exit code -1).
#include <windows.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "setup/app/setup_exception.h"
#include "setup/ui/dialog.h"
#include "ui_test_ids.h"
#include "ui_test_support.h"

namespace {

enum Command { kThrowSetupException = 1, kThrowOther = 2, kQuit = 3 };

class ThrowingWindow : public WindowBase {
 public:
  bool OnCommand(UINT, UINT id, HWND) override {
    handled.push_back(id);
    if (id == kThrowSetupException)
      throw cException(kExceptionWarning, 1, 0, __LINE__);
    if (id == kThrowOther)
      throw std::runtime_error("other");
    if (id == kQuit)
      DestroyWindow();
    return true;
  }
  std::vector<UINT> handled;
};

struct LoopCase {
  const char* name;
  Command thrown;
  int setupReports, unknownReports, exitCode;
  bool loopWentOn;
};

class MessageLoop : public testing::TestWithParam<LoopCase> {};

TEST_P(MessageLoop, HandlerExceptionIsReportedAndTheReportDecides) {
  const LoopCase& c = GetParam();
  TestApplication app;
  ThrowingWindow window;
  window.flags |= kWindowMain;
  ASSERT_TRUE(window.CreateWindowObject(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr));
  app.mainWindow = &window;
  app.showCommand = SW_HIDE;
  PostMessageA(window.window, WM_COMMAND, c.thrown, 0);
  PostMessageA(window.window, WM_COMMAND, kQuit, 0);

  EXPECT_EQ(app.Run(), c.exitCode);
  EXPECT_EQ(app.exceptionReports, c.setupReports);
  EXPECT_EQ(app.unknownReports, c.unknownReports);
  EXPECT_EQ(window.handled.size(), c.loopWentOn ? 2u : 1u);
  EXPECT_EQ(WindowBase::CurrentMessage().hwnd, nullptr);
  if (window.window)
    DestroyWindow(window.window);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageLoop,
    testing::Values(LoopCase{"SetupExceptionGoesOn", kThrowSetupException, 1, 0, 0, true},
                    LoopCase{"OtherExceptionEndsTheRun", kThrowOther, 0, 1, -1, false}),
    [](const testing::TestParamInfo<LoopCase>& i) { return std::string(i.param.name); });

// The dialog procedure catches too: a notification handler that throws.
class ThrowingDialog : public Dialog {
 public:
  bool OnNotify(UINT, NMHDR*, LRESULT&) override {
    throw cException(kExceptionWarning, 2, 0, __LINE__);
  }
};

TEST(DialogProcedure, HandlerExceptionIsReported) {
  TestApplication app;
  ThrowingDialog dialog;
  ASSERT_TRUE(dialog.CreateModelessDialog(MAKEINTRESOURCEA(IDD_LOOK), nullptr));
  NMHDR header = {dialog.window, 0, 1};
  SendMessageA(dialog.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(app.exceptionReports, 1);
  EXPECT_TRUE(IsWindow(dialog.window));
  DestroyWindow(dialog.window);
}

}  // namespace
