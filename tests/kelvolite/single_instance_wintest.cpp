// Two copies of the real program: the second brings the first to the front
// and ends with exit code 0, also when the first sits in the tray.
#include <string>

#include "shell_fixture.h"

namespace {

std::string ProgramPath() {
  std::string path = std::string("Z:") + KV_KELVOLITE_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

struct Process {
  PROCESS_INFORMATION pi = {};
  bool Start() {
    std::string exe = ProgramPath();
    std::string folder = exe.substr(0, exe.rfind('\\'));
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    return CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi);
  }
  DWORD WaitExit(DWORD ms = 20000) {
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  ~Process() {
    if (pi.hProcess) {
      if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

HWND MainWindow() { return FindWindowA("TForm1", "Kelvo Remover 2004"); }

TEST(SingleInstance, ASecondCopyActivatesTheFirstAndEnds) {
  Process first;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(WaitFor([] { return FindWindowA("TApplication", "Kelvo Remover 2004 Lite") && MainWindow() &&
                                  IsWindowVisible(MainWindow()); },
                      20000))
      << "first copy still running: " << (WaitForSingleObject(first.pi.hProcess, 0) == WAIT_TIMEOUT);

  // Somebody else takes the foreground; the second copy hands it back.
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               nullptr, nullptr);
  SetForegroundWindow(other);
  Process second;
  ASSERT_TRUE(second.Start());
  EXPECT_EQ(0u, second.WaitExit());
  EXPECT_TRUE(WaitFor([] { return GetForegroundWindow() == MainWindow(); }));

  // In the tray: hidden application window, hidden main window.
  PostMessageA(MainWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
  // The main window goes with the minimised owner, a moment before the
  // application window itself is hidden.
  ASSERT_TRUE(WaitFor([] { return !IsWindowVisible(MainWindow()) &&
                                  !IsWindowVisible(FindWindowA("TApplication", "Kelvo Remover 2004 Lite")); }));
  EXPECT_TRUE(IsIconic(FindWindowA("TApplication", "Kelvo Remover 2004 Lite")));
  Process third;
  ASSERT_TRUE(third.Start());
  EXPECT_EQ(0u, third.WaitExit());
  EXPECT_TRUE(WaitFor([] { return IsWindowVisible(MainWindow()) && GetForegroundWindow() == MainWindow(); }));
  DestroyWindow(other);

  // The tray menu's Exit, as WM_CLOSE arrives: the program ends with 0.
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, first.WaitExit());

  // Once the first copy has gone, a new copy runs normally.
  Process again;
  ASSERT_TRUE(again.Start());
  EXPECT_TRUE(WaitFor([] { return MainWindow() && IsWindowVisible(MainWindow()); }, 20000));
  PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, again.WaitExit());
}

}  // namespace
