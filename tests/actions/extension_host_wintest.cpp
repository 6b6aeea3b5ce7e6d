// The extension host with our own test DLL under Wine: both entry point
// names, DLLs that do not load or are too old, initialisation answers,
// the notifications of an installation in order with the [Action] items
// between them, -3 during the work, a zero return, the services the DLL
// calls back, and a registration run after the restart that it asks for.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "actions_test_support.h"
#include "setup/app/app_run_hooks.h"
#include "setup/app/extension_host.h"
#include "setup/app/program_action.h"
#include "setup/app/program_launch.h"
#include "setup/app/setup_log.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_steps.h"
#include "setup/engine/uninstall_entry.h"
#include "engine/support/kvz_writer.h"
#include "support/wine_persona.h"

namespace {

using actionstest::Only;
using actionstest::ReadLines;

std::string Dll(const char* variant) {
  return actionstest::TestFolder() + "\\kvx_" + variant + ".dll";
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string LogText() {
  SetupLog::Instance().Close();
  std::string text;
  for (const auto& line : ReadLines(SetupLog::Instance().Path())) text += line + "\n";
  return text;
}

class ExtensionHostTest : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string record = dir.Path("dll.txt");
  std::string app = dir.Path("App");
  std::unique_ptr<SetupEngine> engine = SetupEngine::ForRunningSystem();
  std::unique_ptr<ExtensionHost> host;

  void SetUp() override {
    SetEnvironmentVariableA("KVX_RECORD", record.c_str());
    SetEnvironmentVariableA("KVX_ANSWERS", nullptr);
    SetEnvironmentVariableA("KVX_SERVICES", nullptr);
    SetEnvironmentVariableA("KVX_REGISTER", nullptr);
    LoadScript("");
  }
  void TearDown() override {
    host.reset();
    SetEnvironmentVariableA("KVX_RECORD", nullptr);
    SetEnvironmentVariableA("KVX_ANSWERS", nullptr);
    SetEnvironmentVariableA("KVX_SERVICES", nullptr);
    SetEnvironmentVariableA("KVX_REGISTER", nullptr);
  }
  void LoadScript(const std::string& more, ScriptSectionReaders* readers = nullptr) {
    const std::string script = "Version=2.67.1412\n[Install]\nIgnore=4294967295\n[Symbols]\n"
                               "AppFolder=1|255|" + app + "\nAppTitle=2|255|Demo\n" + more;
    engine->SetSectionReaders(readers);
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    host = std::make_unique<ExtensionHost>(*engine);
  }
  std::vector<std::string> Notifications() { return Only(ReadLines(record), "n "); }
  // A copy of a test DLL in the temporary folder, as setup extracts it.
  std::string Extracted(const char* variant) {
    const std::string path = dir.Path("_Setupx.dll");
    EXPECT_TRUE(CopyFileA(Dll(variant).c_str(), path.c_str(), FALSE));
    return path;
  }
};

TEST_F(ExtensionHostTest, LoadsEitherEntryNameAndRefusesTheRest) {
  EXPECT_TRUE(host->Load(Dll("decorated")));
  EXPECT_FALSE(host->Disabled());
  EXPECT_TRUE(host->Load(Dll("plain")));
  EXPECT_FALSE(host->Load(Dll("noentry")));
  EXPECT_FALSE(host->Loaded());
  EXPECT_TRUE(host->Disabled());
  EXPECT_FALSE(host->Load(dir.Path("missing.dll")));
  EXPECT_FALSE(host->Load(""));
  // Nothing loaded: nothing is called and the answer is 0.
  EXPECT_EQ(host->Notify(kExtWorkBegins), 0);
  EXPECT_TRUE(Notifications().empty());
}

TEST_F(ExtensionHostTest, ADllThatDoesNotLoadIsLoggedDeletedAndForgotten) {
  for (const char* variant : {"noentry", "missing"}) {
    std::string path = std::string(variant) == "missing" ? dir.Path("gone.dll") : Extracted(variant);
    const std::string original = path;
    EXPECT_TRUE(host->Start(&path));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(Exists(original));
    EXPECT_NE(LogText().find("04040001|" + original), std::string::npos);
  }
  EXPECT_EQ(engine->State(), kEngineIdle);
}

TEST_F(ExtensionHostTest, StartSendsVersionThenInitialisationWithTheRunMode) {
  host->RunInfo().runMode = 2;
  std::string path = Dll("decorated");
  EXPECT_TRUE(host->Start(&path));
  EXPECT_EQ(Notifications(), (std::vector<std::string>{"n 0 2", "n 1 2"}));
  EXPECT_EQ(host->CallRecord().host, host.get());
  host->End();
  EXPECT_EQ(Notifications().back(), "n 2 2");
  EXPECT_FALSE(host->Loaded());
}

// 221 is one below the oldest interface setup talks to.
TEST_F(ExtensionHostTest, TooOldDllIsNeverCalledAgainAndTheRunGoesOn) {
  SetEnvironmentVariableA("KVX_ANSWERS", "0:221");
  std::string path = Dll("plain");
  EXPECT_TRUE(host->Start(&path));
  EXPECT_TRUE(host->Disabled());
  EXPECT_TRUE(host->Loaded());
  EXPECT_EQ(host->Notify(kExtWorkBegins), 0);
  host->End();
  EXPECT_EQ(Notifications(), (std::vector<std::string>{"n 0 1"}));
  EXPECT_NE(LogText().find("04040002|" + path), std::string::npos);
  EXPECT_EQ(engine->State(), kEngineIdle);
}

TEST_F(ExtensionHostTest, InitialisationAnswers) {
  const struct {
    const char* answers;
    bool goesOn;
    bool disabled;
    int state;
  } cases[] = {
      {"1:-3", false, false, kEngineFailed},  // ends setup, the engine has failed
      {"1:-5", true, true, kEngineIdle},       // logged, the DLL is dropped
      {"1:-3:z", true, false, kEngineIdle},    // a zero return makes the answer 0
      {"1:7", true, false, kEngineIdle},
  };
  for (const auto& c : cases) {
    engine = SetupEngine::ForRunningSystem();
    LoadScript("");
    SetEnvironmentVariableA("KVX_ANSWERS", c.answers);
    std::string path = Dll("decorated");
    const size_t logBefore = LogText().size();
    EXPECT_EQ(host->Start(&path), c.goesOn) << c.answers;
    EXPECT_EQ(host->Disabled(), c.disabled) << c.answers;
    EXPECT_EQ(engine->State(), c.state) << c.answers;
    const bool logged = LogText().find("04040003|" + path + "|" +
                                       std::string(c.answers).substr(2, 2),
                                       logBefore) != std::string::npos;
    EXPECT_EQ(logged, c.answers[2] == '-' && !strchr(c.answers, 'z')) << c.answers << LogText().substr(logBefore);
  }
}

TEST_F(ExtensionHostTest, StopAnswerDuringTheWorkFailsEvenWithEverythingIgnored) {
  SetEnvironmentVariableA("KVX_ANSWERS", "12:-3");
  std::string path = Dll("plain");
  ASSERT_TRUE(host->Start(&path));
  engine->BeginRun();
  EXPECT_EQ(host->Notify(kExtInstallFilesBefore), kExtAnswerStop);
  EXPECT_EQ(engine->State(), kEngineFailed);
  // -3 does not disable the DLL; it is still told what follows.
  EXPECT_FALSE(host->Disabled());
  EXPECT_EQ(host->Notify(kExtWorkStopped), 0);
  EXPECT_EQ(Notifications().back(), "n 9 1");
}

TEST_F(ExtensionHostTest, ServicesAnswerTheDll) {
  SetEnvironmentVariableA("KVX_SERVICES", "1");
  host->RunInfo().quietLevel = 2;
  std::string path = Dll("decorated");
  ASSERT_TRUE(host->Start(&path));
  const auto lines = ReadLines(record);
  auto value = [&](const std::string& key) {
    const auto found = Only(lines, key + " ");
    return found.empty() ? std::string("(none)") : found[0].substr(key.size() + 1);
  };
  EXPECT_EQ(value("s0"), "267");
  EXPECT_EQ(value("s2"), kvtest::PersonaFamily() == kvtest::Family::Win9x ? "0" : "1");
  if (kvtest::PersonaFamily() == kvtest::Family::Win9x) {
    EXPECT_EQ(value("s3"), "1");
  }
  EXPECT_EQ(value("s4"), "2");
  EXPECT_EQ(value("s7"), "1");
  EXPECT_EQ(value("s5"), "1 Demo/from dll");
  EXPECT_EQ(value("s5cut"), "1 Dem");
  EXPECT_EQ(value("s5null"), "0");
  EXPECT_EQ(value("s12"), "1");
  EXPECT_EQ(value("s10"), "0");
  EXPECT_EQ(engine->Expand("<KvxSymbol>"), "from dll");
  EXPECT_NE(engine->Script().ToText().find("KvxSymbol="), std::string::npos);
  EXPECT_NE(LogText().find("02AB0001|one|two"), std::string::npos);
}

// A tiny package installed through the engine's steps with the DLL and
// two [Action] items (which append to the DLL's record) joined in.
TEST_F(ExtensionHostTest, InstallationNotifiesInOrderWithActionsBetween) {
  auto launcher = MakeSystemLauncher(*engine, nullptr);
  ProgramActions joined(*engine, launcher.get());
  const std::string child = "<Bin>\\action_child.exe";
  const std::string action = "Path=" + child + "\nArguments=\"" + record + "\" 0 ";
  LoadScript("Bin=-1|255|" + actionstest::TestFolder() +
                 "\n[Action]\nTitle=First\n" + action + "start\nOptions=1|255|" +
                 std::to_string(0x0 | kActionWait) + "|60000\n[Action]\nTitle=End\n" + action +
                 "end\nOptions=1|255|" + std::to_string(0x50000 | kActionWait) + "|60000\n",
             &joined);
  ASSERT_EQ(joined.Actions().size(), 2u);
  ASSERT_TRUE(engine->SetRuntimeSymbols());
  std::string path = Dll("decorated");
  ASSERT_TRUE(host->Start(&path));

  AppRunHooks hooks(host.get(), &joined);
  InstallRun run;
  run.executable = actionstest::TestFolder() + "\\action_child.exe";
  run.hooks = &hooks;
  ASSERT_TRUE(StartInstallation(*engine, run));
  ASSERT_TRUE(CreateShortcutsStep(*engine, run, 0));
  ASSERT_TRUE(FinishInstallation(*engine, run));
  host->End();
  EXPECT_EQ(engine->State(), kEngineDone);

  std::vector<std::string> order;
  for (const auto& line : ReadLines(record)) {
    if (line.compare(0, 2, "n ") == 0) order.push_back(line);
    if (line.compare(0, 7, "action ") == 0) order.push_back(line.substr(line.rfind(' ') + 1));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"n 0 1", "n 1 1", "n 7 1", "start", "n 16 1",
                                             "n 17 1", "end", "n 8 1", "n 2 1"}));
  EXPECT_TRUE(Exists(app + "\\Setup.exe"));
}

// Service 14 in the middle of an installation where no file waits for a
// restart: the last step still writes the RunOnce entry, and the end
// phase's actions are left for the registration run.
TEST_F(ExtensionHostTest, RegistrationRunAskedByTheDllWritesRunOnce) {
  auto launcher = MakeSystemLauncher(*engine, nullptr);
  ProgramActions joined(*engine, launcher.get());
  LoadScript("Bin=-1|255|" + actionstest::TestFolder() +
                 "\n[Action]\nTitle=End\nPath=<Bin>\\action_child.exe\nArguments=\"" + record +
                 "\" 0 end\nOptions=1|255|" + std::to_string(0x50000 | kActionWait) + "|60000\n",
             &joined);
  ASSERT_TRUE(engine->SetRuntimeSymbols());
  SetEnvironmentVariableA("KVX_REGISTER", "16");
  std::string path = Dll("plain");
  ASSERT_TRUE(host->Start(&path));

  AppRunHooks hooks(host.get(), &joined);
  InstallRun run;
  run.executable = actionstest::TestFolder() + "\\action_child.exe";
  run.hooks = &hooks;
  ASSERT_TRUE(StartInstallation(*engine, run));
  ASSERT_TRUE(CreateShortcutsStep(*engine, run, 0));
  ASSERT_TRUE(engine->PendingReplacements().empty());
  ASSERT_TRUE(FinishInstallation(*engine, run));
  EXPECT_EQ(engine->State(), kEngineDone);
  EXPECT_TRUE(engine->RestartNeeded());
  EXPECT_EQ(Only(ReadLines(record), "s14 "), std::vector<std::string>{"s14 1"});
  EXPECT_TRUE(Only(ReadLines(record), "action ").empty());

  ASSERT_FALSE(run.runOnceName.empty());
  char data[MAX_PATH + 32] = {};
  DWORD size = sizeof data - 1;
  const char runOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  ASSERT_EQ(SHGetValueA(HKEY_LOCAL_MACHINE, runOnce, run.runOnceName.c_str(), nullptr, data, &size),
            ERROR_SUCCESS);
  char shortPath[MAX_PATH] = {};
  GetShortPathNameA((app + "\\Setup.exe").c_str(), shortPath, MAX_PATH);
  EXPECT_EQ(std::string(data), std::string(shortPath) + " /register");

  DeleteUninstallRegistration(*engine, run);
  size = sizeof data - 1;
  EXPECT_NE(SHGetValueA(HKEY_LOCAL_MACHINE, runOnce, run.runOnceName.c_str(), nullptr, data, &size),
            ERROR_SUCCESS);
  host->End();
}

}  // namespace
