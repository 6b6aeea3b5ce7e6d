// [Action] items starting a real child program under Wine: arguments and
// folders from expanded symbols, the show command, waiting with a timeout
// while the progress sink is polled, Cancel ending the wait, the hidden
// main window, ShellExecuteEx, and a program that does not exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "actions_test_support.h"
#include "setup/app/program_action.h"
#include "setup/app/program_launch.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/setup_engine.h"
#include "engine/support/kvz_writer.h"

namespace {

using actionstest::Only;
using actionstest::ReadLines;

// Counts the polls of a wait and can answer Cancel from a given poll on.
class CountingProgress : public ProgressSink {
 public:
  int polls = 0;
  int cancelAt = 0;  // 0: never
  std::function<void()> onPoll;
  void Add(uint32_t) override {}
  void SetRange(uint64_t) override {}
  bool Poll() override {
    ++polls;
    if (onPoll) onPoll();
    return cancelAt && polls >= cancelAt;
  }
};

class ProgramLaunchTest : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string record = dir.Path("child.txt");
  std::unique_ptr<SetupEngine> engine = SetupEngine::ForRunningSystem();
  CountingProgress progress;
  HWND window = nullptr;
  std::unique_ptr<ProgramLauncher> launcher;
  std::unique_ptr<ProgramActions> actions;

  void TearDown() override {
    actionstest::EndChild(record);
    if (window) DestroyWindow(window);
  }

  // One phase-1 action with these options and arguments.
  void Load(const std::string& path, uint32_t show, uint32_t flags, uint32_t timeout,
            const std::string& arguments) {
    const std::string script =
        "Version=2.67.1412\n[Symbols]\nAppFolder=1|255|" + dir.Path("App") +
        "\nAppTitle=2|255|Demo\nBin=-1|255|" + actionstest::TestFolder() +
        "\nRecord=-1|255|" + record + "\n[Action]\nTitle=Child\nPath=" + path +
        "\nArguments=" + arguments + "\nOptions=" + std::to_string(show) + "|255|" +
        std::to_string(0x10000 | flags) + "|" + std::to_string(timeout) + "\n";
    window = CreateWindowA("STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                           nullptr, nullptr, nullptr, nullptr);
    launcher = MakeSystemLauncher(*engine, window);
    actions = std::make_unique<ProgramActions>(*engine, launcher.get());
    engine->SetSectionReaders(actions.get());
    engine->SetProgress(&progress);
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    ASSERT_TRUE(engine->SetRuntimeSymbols());
  }
  // Runs phase 1 and answers how long it took.
  DWORD RunTimed(bool* ok) {
    const DWORD start = GetTickCount();
    *ok = actions->RunPhase(0x10000);
    return GetTickCount() - start;
  }
  bool ChildDone() const {
    return !Only(ReadLines(record), "done").empty();
  }
};

TEST_F(ProgramLaunchTest, StartsWithExpandedArgumentsInTheProgramsFolderAndWaitsForTheEnd) {
  Load("<Bin>\\action_child.exe", SW_SHOWMINNOACTIVE, kActionWait, 60000, "\"<Record>\" 300 <AppTitle>");
  bool ok = false;
  RunTimed(&ok);
  EXPECT_TRUE(ok);
  // Waited: the child has finished when the phase returns.
  EXPECT_TRUE(ChildDone());
  const auto lines = ReadLines(record);
  ASSERT_FALSE(lines.empty());
  const std::string exe = actionstest::TestFolder() + "\\action_child.exe";
  EXPECT_EQ(lines[0], "action \"" + exe + "\" \"" + record + "\" 300 Demo");
  EXPECT_EQ(Only(lines, "cwd "), (std::vector<std::string>{"cwd " + actionstest::TestFolder()}));
  EXPECT_EQ(Only(lines, "show "), (std::vector<std::string>{"show 7"}));
  EXPECT_GE(progress.polls, 1);
}

TEST_F(ProgramLaunchTest, TimeoutLeavesALongChildRunning) {
  Load("<Bin>\\action_child.exe", SW_SHOWNORMAL, kActionWait, 500, "\"<Record>\" 60000");
  bool ok = false;
  const DWORD took = RunTimed(&ok);
  EXPECT_TRUE(ok);
  EXPECT_LT(took, 20000u);
  ASSERT_TRUE(actionstest::WaitFor([&] { return !Only(ReadLines(record), "pid ").empty(); }));
  EXPECT_FALSE(ChildDone());
  // 500 ms: slices while more than 100 ms remain, polled between them.
  EXPECT_LE(progress.polls, 4);
}

TEST_F(ProgramLaunchTest, CancelEndsTheWaitAndNoWaitFlagReturnsAtOnce) {
  Load("<Bin>\\action_child.exe", SW_SHOWNORMAL, kActionWait, 600000, "\"<Record>\" 60000");
  progress.cancelAt = 2;
  bool ok = false;
  EXPECT_LT(RunTimed(&ok), 20000u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(progress.polls, 2);
  EXPECT_FALSE(ChildDone());
}

TEST_F(ProgramLaunchTest, NotWaitedForWithoutTheWaitFlag) {
  Load("<Bin>\\action_child.exe", SW_SHOWNORMAL, 0, 600000, "\"<Record>\" 60000");
  bool ok = false;
  EXPECT_LT(RunTimed(&ok), 20000u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(progress.polls, 0);
  EXPECT_TRUE(actionstest::WaitFor([&] { return !Only(ReadLines(record), "pid ").empty(); }));
}

TEST_F(ProgramLaunchTest, MainWindowIsHiddenWhileWaitingAndShownAfter) {
  Load("<Bin>\\action_child.exe", SW_SHOWNORMAL, kActionWait | kActionHideWindow, 60000,
       "\"<Record>\" 300");
  int visiblePolls = 0;
  progress.onPoll = [&] { visiblePolls += IsWindowVisible(window) ? 1 : 0; };
  RECT before;
  GetWindowRect(window, &before);
  bool ok = false;
  RunTimed(&ok);
  EXPECT_TRUE(ok);
  EXPECT_GE(progress.polls, 1);
  EXPECT_EQ(visiblePolls, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT after;
  GetWindowRect(window, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(ProgramLaunchTest, ShellExecuteStartsTheProgramToo) {
  Load("<Bin>\\action_child.exe", SW_SHOWNORMAL, kActionWait | kActionShellExecute, 60000,
       "\"<Record>\" 0");
  bool ok = false;
  RunTimed(&ok);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(actionstest::WaitFor([&] { return ChildDone(); }));
}

TEST_F(ProgramLaunchTest, MissingProgramFailsTheActionAndStopsOnlyWhenFlagged) {
  for (uint32_t extra : {0u, uint32_t(kActionShellExecute)}) {
    for (bool stop : {false, true}) {
      engine = SetupEngine::ForRunningSystem();
      Load(dir.Path("missing.exe"), SW_SHOWNORMAL,
           kActionWait | kActionRestart | extra | (stop ? uint32_t(kActionStopOnFailure) : 0u), 1000, "x");
      bool ok = true;
      RunTimed(&ok);
      EXPECT_EQ(ok, !stop) << "flags " << extra << " stop " << stop;
      EXPECT_TRUE(engine->RestartNeeded());
      DestroyWindow(window);
      window = nullptr;
    }
  }
}

}  // namespace
