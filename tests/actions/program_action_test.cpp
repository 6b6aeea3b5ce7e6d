// [Action] items without starting anything: which actions a phase runs,
// how their paths are prepared and recorded, and the flags that skip,
// ask, stop or require a restart. A recording launcher stands in for the
// system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/app/program_action.h"
#include "setup/app/program_launch.h"
#include "setup/engine/file_item.h"
#include "setup/engine/expand.h"
#include "setup/engine/file_section.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/setup_engine.h"

namespace {

constexpr uint32_t kXp = 0x40;

class RecordingLauncher : public ProgramLauncher {
 public:
  std::vector<ProgramLaunch> started;
  bool succeed = true;
  bool Run(const ProgramLaunch& launch) override {
    started.push_back(launch);
    return succeed;
  }
};

class Answers : public EngineMessages {
 public:
  int answer = kAnswerYes;
  std::vector<std::string> asked;
  int Show(uint32_t, const std::string&, const std::string& text, MessageKind kind) override {
    EXPECT_EQ(kind, MessageKind::kYesNo);
    asked.push_back(text);
    return answer;
  }
};

std::string Action(const std::string& title, const std::string& path, const std::string& options,
                   const std::string& more = "") {
  return "[Action]\nTitle=" + title + "\nPath=" + path + "\nOptions=" + options + "\n" + more;
}

class ProgramActionsTest : public ::testing::Test {
 protected:
  SetupEngine engine{kXp, nullptr};
  RecordingLauncher launcher;
  Answers answers;
  ProgramActions actions{engine, &launcher};
  std::vector<std::string> status;

  bool Load(const std::string& sections, ScriptLoadFailure* failure = nullptr) {
    const std::string script =
        "Version=2.67.1412\n[Symbols]\nAppFolder=1|255|C:\\App\nAppTitle=2|255|Demo\n"
        "Tools=-1|255|C:\\Tools\\\n[Files]\nInstallDir=<AppFolder>\n"
        "File=prog.exe|3|3|0|0|0=prog.exe|0|-1|255|0||\n" + sections;
    engine.SetSectionReaders(&actions);
    engine.SetMessages(&answers);
    actions.SetStatusText([this](const std::string& s) { status.push_back(s); });
    ScriptLoadFailure local;
    return engine.LoadScript(script.data(), script.size(), "Setup.ini", failure ? failure : &local);
  }
  std::vector<std::string> StartedPaths() const {
    std::vector<std::string> out;
    for (const auto& l : launcher.started) out.push_back(l.path);
    return out;
  }
};

TEST_F(ProgramActionsTest, PhaseRunsItsOwnActionsInScriptOrderOnMatchingSystems) {
  ASSERT_TRUE(Load(Action("One <AppTitle>", "C:\\a.exe", "1|247|327680|60000") +
                   Action("Other phase", "C:\\b.exe", "1|255|65536|0") +
                   Action("Other system", "C:\\c.exe", "1|15|327680|0") +
                   Action("No path", "", "1|255|327680|0") +
                   Action("Two", "C:\\d.exe", "5|255|327680|0")));
  ASSERT_EQ(actions.Actions().size(), 5u);
  const ProgramAction& first = actions.Actions()[0];
  EXPECT_EQ(first.Phase(), 0x50000u);
  EXPECT_EQ(first.showCommand, 1u);
  EXPECT_FALSE(first.Has(kActionWait));
  EXPECT_EQ(first.timeout, 60000u);

  EXPECT_TRUE(actions.HasActions(0x50000));
  EXPECT_FALSE(actions.HasActions(0x30000));
  EXPECT_TRUE(actions.RunPhase(0x50000));
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\a.exe", "C:\\d.exe"}));
  EXPECT_EQ(status, (std::vector<std::string>{"One Demo", "Two"}));
  EXPECT_EQ(launcher.started[1].showCommand, 5u);
}

TEST_F(ProgramActionsTest, OptionsWithFewerThanFourFieldsRejectTheScript) {
  ScriptLoadFailure failure;
  EXPECT_FALSE(Load(Action("Short", "C:\\a.exe", "1|255|327680"), &failure));
  EXPECT_EQ(failure.error, ScriptLoadError::kBadSection);
  EXPECT_NE(failure.detail.find("1|255|327680"), std::string::npos);
}

TEST_F(ProgramActionsTest, PathsAreExpandedCleanedAndWrittenBack) {
  ASSERT_TRUE(Load(Action("Clean", "<Tools>\\a|b.exe", "1|255|65536|0",
                          "Arguments=/title \"<AppTitle>\"\n") +
                   Action("Dir", "\\\\server\\share\\\\x?.exe", "1|255|65536|0",
                          "WorkDir=<Tools>\\\\work\n")));
  EXPECT_TRUE(actions.RunPhase(0x10000));
  ASSERT_EQ(launcher.started.size(), 2u);
  EXPECT_EQ(launcher.started[0].path, "C:\\Tools\\a_b.exe");
  EXPECT_EQ(launcher.started[0].workDir, "C:\\Tools");
  EXPECT_EQ(launcher.started[0].arguments, "/title \"Demo\"");
  EXPECT_EQ(launcher.started[1].path, "\\\\server\\share\\x_.exe");
  EXPECT_EQ(launcher.started[1].workDir, "C:\\Tools\\work");

  const ScriptSection& s = *actions.Actions()[0].section;
  EXPECT_EQ(s.GetText("Path"), "C:\\Tools\\a_b.exe");
  EXPECT_EQ(s.GetText("WorkDir"), "C:\\Tools");
  EXPECT_EQ(s.GetText("Arguments"), "/title \"Demo\"");
  EXPECT_TRUE(engine.ScriptChanged());
}

// An action naming an installed file runs it only when the file was
// installed (or waits for the restart), and with the line's own path.
TEST_F(ProgramActionsTest, InstalledFileLineDecidesWhetherItRuns) {
  ASSERT_TRUE(Load(Action("Run it", "c:\\APP\\PROG.EXE", "1|255|65536|0")));
  FileItem& item = *engine.FileSections()[0]->items[0];
  item.target = "C:\\App\\prog.exe";
  const struct {
    int32_t status;
    bool runs;
  } cases[] = {{1, true}, {kFileInUse, true}, {0, false}, {-1, false}, {-3, false}, {-4, false}};
  for (const auto& c : cases) {
    launcher.started.clear();
    item.status = c.status;
    EXPECT_TRUE(actions.RunPhase(0x10000));
    ASSERT_EQ(launcher.started.size(), c.runs ? 1u : 0u) << "status " << c.status;
    if (c.runs) {
      EXPECT_EQ(launcher.started[0].path, "C:\\App\\prog.exe");
    }
  }
}

TEST_F(ProgramActionsTest, AskAndQuietFlags) {
  const std::string ask = std::to_string(0x10000 | kActionAsk);
  const std::string skipQuiet = std::to_string(0x10000 | kActionSkipQuiet);
  ASSERT_TRUE(Load(Action("Ask", "C:\\ask.exe", "1|255|" + ask + "|0", "Prompt=Run <AppTitle>?\n") +
                   Action("Loud only", "C:\\loud.exe", "1|255|" + skipQuiet + "|0")));
  answers.answer = kAnswerNo;
  EXPECT_TRUE(actions.RunPhase(0x10000));
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"Run Demo?"}));
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\loud.exe"}));

  launcher.started.clear();
  answers.answer = kAnswerYes;
  EXPECT_TRUE(actions.RunPhase(0x10000));
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\ask.exe", "C:\\loud.exe"}));

  // Quiet: the question is not asked and the action runs; "loud" is skipped.
  launcher.started.clear();
  answers.asked.clear();
  engine.SetQuiet(true);
  EXPECT_TRUE(actions.RunPhase(0x10000));
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\ask.exe"}));
}

TEST_F(ProgramActionsTest, FailedStartStopsThePhaseOnlyWhenFlaggedAndRestartIsAskedAnyway) {
  const std::string stop = std::to_string(0x10000 | kActionStopOnFailure);
  const std::string restart = std::to_string(0x10000 | kActionRestart);
  ASSERT_TRUE(Load(Action("Restart", "C:\\r.exe", "1|255|" + restart + "|0") +
                   Action("Must", "C:\\m.exe", "1|255|" + stop + "|0") +
                   Action("After", "C:\\z.exe", "1|255|65536|0")));
  launcher.succeed = false;
  EXPECT_FALSE(actions.RunPhase(0x10000));
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\r.exe", "C:\\m.exe"}));
  EXPECT_TRUE(engine.RestartNeeded());

  launcher.started.clear();
  launcher.succeed = true;
  EXPECT_TRUE(actions.RunPhase(0x10000));
  EXPECT_EQ(launcher.started.size(), 3u);
}

TEST_F(ProgramActionsTest, SetupEndActionsOnlyAfterACompletedRunWithoutRestart) {
  ASSERT_TRUE(Load(Action("End", "C:\\end.exe", "1|255|393216|0")));
  engine.SetState(kEngineFailed);
  EXPECT_TRUE(actions.RunSetupEndActions());
  engine.SetState(kEngineDone);
  engine.SetRestartNeeded();
  EXPECT_TRUE(actions.RunSetupEndActions());
  EXPECT_TRUE(launcher.started.empty());

  SetupEngine fresh(kXp, nullptr);
  ProgramActions endActions(fresh, &launcher);
  endActions.Actions().push_back(actions.Actions()[0]);
  endActions.Actions()[0].section = nullptr;
  fresh.SetState(kEngineDone);
  EXPECT_TRUE(endActions.RunSetupEndActions());
  EXPECT_EQ(StartedPaths(), (std::vector<std::string>{"C:\\end.exe"}));
}

}  // namespace
