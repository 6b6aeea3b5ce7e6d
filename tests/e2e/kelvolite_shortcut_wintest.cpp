// Kelvo Lite as the package leaves it: started through the program group's
// shortcut (so from the application folder, where lang.lng is), it reads
// the "Language" value setup wrote and shows the English hints; without
// that value its navigation buttons would have none.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "e2e/package_fixture.h"

namespace e2e {
namespace {

struct Found {
  DWORD process;
  const char* className;
  const char* title;  // nullptr: any visible window of the class with text
  HWND window;
  std::string text;
};

std::string TextOf(HWND window) {
  char text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return text;
}

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  Found& f = *reinterpret_cast<Found*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (process != f.process || !IsWindowVisible(window) || lstrcmpiA(className, f.className) != 0)
    return TRUE;
  const std::string text = TextOf(window);
  if (f.title ? text != f.title : text.empty()) return TRUE;
  f.window = window;
  f.text = text;
  return FALSE;
}

Found FindVisible(DWORD process, const char* className, const char* title) {
  Found f{process, className, title, nullptr, {}};
  EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&f));
  return f;
}

class KelvoliteShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    const std::string package = PackagePath();
    ASSERT_EQ(RunProgram("\"" + package + "\" /q /b0", package.substr(0, package.rfind('\\'))), 0);
  }
  void TearDown() override {
    if (program_.hProcess) {
      TerminateProcess(program_.hProcess, 0);
      WaitForSingleObject(program_.hProcess, 10000);
      CloseHandle(program_.hThread);
      CloseHandle(program_.hProcess);
    }
    std::string command;
    if (ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", command)) {
      EXPECT_EQ(RunProgram(command + " /q /b0", ""), 0);
      EXPECT_TRUE(WaitForHelper());
    }
    CoUninitialize();
  }

  // What the shell does with a shortcut: its program, arguments and
  // working folder.
  bool StartThrough(const Link& link) {
    std::string line = "\"" + link.path + "\"";
    if (!link.arguments.empty()) line += " " + link.arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = WORD(link.showCommand);
    return CreateProcessA(link.path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          link.workDir.c_str(), &si, &program_) != 0;
  }

  PROCESS_INFORMATION program_ = {};
};

TEST_F(KelvoliteShortcutTest, StartedThroughItsShortcutItShowsTheEnglishHints) {
  const Link link = ReadLink(ProgramGroup() + "\\Kelvo Remover 2004 Lite.lnk");
  ASSERT_TRUE(link.loaded);
  ASSERT_TRUE(StartThrough(link));

  Found main;
  ASSERT_TRUE(WaitFor([&] {
    main = FindVisible(program_.dwProcessId, "TForm1", "Kelvo Remover 2004");
    return main.window != nullptr;
  }));
  // Rest the pointer on the "Uninstall Programs" navigation button, coming
  // from outside the window so that the button sees it arrive.
  RECT r;
  GetWindowRect(main.window, &r);
  SetCursorPos(r.right + 20, r.bottom + 20);
  SetCursorPos(r.left + 51, r.top + 120);
  Found tip;
  EXPECT_TRUE(WaitFor([&] {
    tip = FindVisible(program_.dwProcessId, TOOLTIPS_CLASSA, nullptr);
    return tip.window != nullptr;
  }, 15000));
  EXPECT_EQ(tip.text, "Uninstall Programs");
}

}  // namespace
}  // namespace e2e
