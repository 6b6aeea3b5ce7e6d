// The self-delete helper started the way setup starts it: its list in the
// environment block, suspended at idle priority, then resumed. The tests wait
// on the process itself; the helper's own pause between passes (1000 ms) is
// the only time they spend.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string HelperPath() {
  char full[MAX_PATH];
  const DWORD n = GetFullPathNameA(KV_QEXDEL_EXE, sizeof(full), full, nullptr);
  return n && n < sizeof(full) ? full : KV_QEXDEL_EXE;
}

// A folder of its own under the temporary folder, removed at the end.
class QexDelRun : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_TRUE(GetTempPathA(sizeof(temp), temp));
    root_ = std::string(temp) + "qexdel_test_" +
            std::to_string(GetCurrentProcessId()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
  }
  void TearDown() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(it->c_str());
      RemoveDirectoryA(it->c_str());
    }
    RemoveDirectoryA(root_.c_str());
  }

  std::string Path(const std::string& name) { return root_ + "\\" + name; }
  std::string MakeFile(const std::string& name, DWORD attributes = 0) {
    const std::string p = Path(name);
    HANDLE h = CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << p;
    DWORD written = 0;
    WriteFile(h, "data", 4, &written, nullptr);
    CloseHandle(h);
    if (attributes) {
      EXPECT_TRUE(SetFileAttributesA(p.c_str(), attributes));
    }
    made_.push_back(p);
    return p;
  }
  std::string MakeFolder(const std::string& name) {
    const std::string p = Path(name);
    EXPECT_TRUE(CreateDirectoryA(p.c_str(), nullptr)) << p;
    made_.push_back(p);
    return p;
  }

  // Starts the helper with the entries as its environment and returns its
  // process handle (the thread handle is closed once it runs).
  HANDLE Start(const std::vector<std::string>& entries) {
    std::vector<char> block;
    for (const std::string& e : entries)
      block.insert(block.end(), e.c_str(), e.c_str() + e.size() + 1);
    block.push_back('\0');
    if (entries.empty())
      block.push_back('\0');

    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    const std::string exe = HelperPath();
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE,
                        IDLE_PRIORITY_CLASS | CREATE_SUSPENDED, block.data(),
                        temp, &si, &pi)) {
      ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
      return nullptr;
    }
    SetThreadPriority(pi.hThread, THREAD_PRIORITY_IDLE);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    return pi.hProcess;
  }

  // Waits for the helper (it gives up by itself after ten passes).
  static DWORD Finish(HANDLE process) {
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    DWORD code = 0xFFFF;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
  }

  static bool Exists(const std::string& p) {
    return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::string root_;
  std::vector<std::string> made_;
};

// What setup hands over: its own read-only, hidden, system Setup.exe, the
// script, a folder listed before the files inside it (removed in the second
// pass), entries that are already gone. Entries with any other letter are
// not the helper's to touch.
TEST_F(QexDelRun, RemovesListedFilesAndFoldersInLaterPasses) {
  const std::string folder = MakeFolder("App");
  const std::string inner = MakeFolder("App\\Sub");
  const std::string exe = MakeFile(
      "App\\Setup.exe", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                            FILE_ATTRIBUTE_SYSTEM);
  const std::string script = MakeFile("App\\Setup.ini", FILE_ATTRIBUTE_READONLY);
  const std::string data = MakeFile("App\\Sub\\data.bin");
  const std::string done = MakeFile("done.txt");
  const std::string other = MakeFile("other.txt");

  HANDLE helper = Start({"D" + folder, "D" + inner, "F" + exe, "F" + script,
                         "F" + data, "F" + Path("missing.txt"),
                         "D" + Path("missing folder"), "X" + done,
                         "OTHER=" + other, "F"});
  ASSERT_TRUE(helper);
  EXPECT_EQ(Finish(helper), 0u);
  for (const std::string& gone : {folder, inner, exe, script, data})
    EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_TRUE(Exists(done));
  EXPECT_TRUE(Exists(other));
}

TEST_F(QexDelRun, FinishesAtOnceWhenEverythingIsAlreadyGone) {
  HANDLE helper = Start({"D" + Path("gone1"), "D" + Path("gone2\\deeper")});
  ASSERT_TRUE(helper);
  EXPECT_EQ(Finish(helper), 0u);
}

// A file still in use (setup itself, in real life, for a moment) stays in the
// list and is deleted by a later pass once it is free.
TEST_F(QexDelRun, RetriesAFileInUseUntilItIsFree) {
  const std::string busy = MakeFile("busy.dll");
  HANDLE lock = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);

  HANDLE helper = Start({"F" + busy});
  ASSERT_TRUE(helper);
  // Still at work after its first pass: the file was not counted as done.
  EXPECT_EQ(WaitForSingleObject(helper, 1500), DWORD(WAIT_TIMEOUT));
  EXPECT_TRUE(Exists(busy));
  CloseHandle(lock);
  EXPECT_EQ(Finish(helper), 0u);
  EXPECT_FALSE(Exists(busy));
}

}  // namespace
