#include "setup/app/runtime_failure.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_test_files.h"

namespace {

struct ChildResult {
  bool exited = false;
  DWORD exitCode = 0;
  bool sawBox = false;
  std::string boxText;
};

// Runs runtime_child.exe and answers its runtime failure box with OK as soon
// as it shows. Gives up after 20 s.
ChildResult RunChild(const char* mode) {
  std::string exe = apptest::ModulePath();
  exe = exe.substr(0, exe.find_last_of('\\') + 1) + "runtime_child.exe";
  std::string command = "\"" + exe + "\" --mode=" + mode;
  STARTUPINFOA si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  ChildResult r;
  if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &si, &pi))
    return r;
  CloseHandle(pi.hThread);
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, 25) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > 20000) {
      TerminateProcess(pi.hProcess, 99);
      WaitForSingleObject(pi.hProcess, INFINITE);
      CloseHandle(pi.hProcess);
      return r;
    }
    HWND box = FindWindowA("#32770", "Brannoc runtime support");
    if (!box || r.sawBox) continue;
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner != pi.dwProcessId) continue;
    r.sawBox = true;
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    r.boxText = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  r.exited = GetExitCodeProcess(pi.hProcess, &r.exitCode) != 0;
  CloseHandle(pi.hProcess);
  return r;
}

}  // namespace

TEST(RuntimeFailure, EachFailingStageShowsTheBoxAndEndsWithItsCode) {
  struct Case {
    const char* mode;
    int code;
  } cases[] = {
      {"startup", kRuntimeStartupFailed},
      {"escape", kRuntimeEntryEscaped},
      {"shutdown", kRuntimeShutdownFailed},
      {"terminate", kRuntimeTerminated},
  };
  for (const Case& c : cases) {
    const ChildResult r = RunChild(c.mode);
    ASSERT_TRUE(r.exited) << c.mode;
    EXPECT_TRUE(r.sawBox) << c.mode;
    EXPECT_EQ(r.exitCode, DWORD(c.code)) << c.mode;
    EXPECT_EQ(r.boxText.rfind("Runtime error - terminating.\n\n", 0), 0u)
        << c.mode << ": " << r.boxText;
    EXPECT_NE(r.boxText.find("support@"), std::string::npos) << r.boxText;
  }
}

TEST(RuntimeFailure, OutOfMemoryEndsTheRunWithMinusOneAndNoBox) {
  const ChildResult r = RunChild("oom");
  ASSERT_TRUE(r.exited);
  EXPECT_FALSE(r.sawBox);
  EXPECT_EQ(r.exitCode, DWORD(-1));
}

TEST(RuntimeFailure, OrderlyRunsEndNormallyAndHonourDeleteAtExit) {
  const std::string log = apptest::TempFolder() + "runtime_child.log";
  DeleteFileA(log.c_str());
  ChildResult r = RunChild("log");
  ASSERT_TRUE(r.exited);
  EXPECT_FALSE(r.sawBox);
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_TRUE(
      apptest::EndsWith(apptest::ReadWholeFile(log), "01000001|child\r\n"));

  r = RunChild("log-delete");
  ASSERT_TRUE(r.exited);
  EXPECT_EQ(r.exitCode, 0u);
  EXPECT_FALSE(apptest::FileExists(log));
}
