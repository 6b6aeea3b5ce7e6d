// The decisions behind the installation records: which uninstall values
// are written, the version numbers, the RunOnce name, the previous-version
// rules, the [UninstallDirs] list, the removal order and the folders a
// shortcut goes to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/registry_fake.h"
#include "setup/engine/expand.h"
#include "setup/engine/install_run.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shortcut_item.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/uninstall_removal.h"

namespace {

TEST(AppVersionNumbers, MajorAndMinorAsTheEntryShowsThem) {
  struct Case {
    const char* version;
    uint32_t major;
    bool hasMinor;
    uint32_t minor;
  } cases[] = {
      {"3.0", 3, true, 0},    {"3", 3, false, 0},     {"v3", 0, true, 3},
      {"2004.12b", 2004, true, 12}, {"", 0, false, 0}, {"1.", 1, true, 0},
      {"10-7.2", 10, true, 7},
  };
  for (const Case& c : cases) {
    const AppVersionNumbers v = ParseAppVersion(c.version);
    EXPECT_EQ(v.major, c.major) << c.version;
    EXPECT_EQ(v.hasMinor, c.hasMinor) << c.version;
    if (c.hasMinor) {
      EXPECT_EQ(v.minor, c.minor) << c.version;
    }
  }
}

UninstallEntryInput Input(uint32_t options) {
  UninstallEntryInput in;
  in.options = options;
  in.displayName = "Kelvo";
  in.setupShortPath = "C:\\PROGRA~1\\KELVO\\Setup.exe";
  in.appFolder = "C:\\Program Files\\Kelvo";
  in.sourceFolder = "D:\\";
  in.version = "3.0";
  in.company = "Quorlan Soft";
  in.webSite = "http://<x>";
  in.email = "a@b";
  in.telephone = "123";
  return in;
}

std::vector<std::string> Names(const std::vector<UninstallValue>& values) {
  std::vector<std::string> names;
  for (const auto& v : values) names.push_back(v.name);
  return names;
}

TEST(UninstallEntryValues, AlwaysWrittenValuesInOrder) {
  const auto values = UninstallEntryValues(Input(kOptUninstallEntry));
  EXPECT_EQ(Names(values),
            (std::vector<std::string>{"DisplayName", "UninstallString", "InstallLocation",
                                      "InstallSource", "DisplayVersion", "VersionMajor",
                                      "VersionMinor", "Publisher"}));
  EXPECT_EQ(values[1].text, "C:\\PROGRA~1\\KELVO\\Setup.exe /remove");
  EXPECT_TRUE(values[0].required);
  EXPECT_TRUE(values[1].required);
  EXPECT_FALSE(values[2].required);
  EXPECT_TRUE(values[5].isDword);
  EXPECT_EQ(values[5].dword, 3u);
  EXPECT_EQ(values[6].dword, 0u);
}

TEST(UninstallEntryValues, OptionalValuesFollowTheirConditions) {
  UninstallEntryInput in = Input(kOptUninstallEntry | kOptShowWebSite | kOptShowEmail |
                                 kOptShowTelephone);
  in.timestamp = "2004-01-02 03:04:05";
  in.displayIcon = "C:\\Program Files\\Kelvo\\k.exe";
  in.version = "3";
  const auto values = UninstallEntryValues(in);
  EXPECT_EQ(Names(values),
            (std::vector<std::string>{"DisplayName", "UninstallString", "InstallDate",
                                      "InstallLocation", "InstallSource", "DisplayIcon",
                                      "DisplayVersion", "VersionMajor", "Publisher", "HelpLink",
                                      "URLInfoAbout", "URLUpdateInfo", "Contact",
                                      "HelpTelephone"}));
  for (const auto& v : values) {
    if (v.name == "HelpLink" || v.name == "URLUpdateInfo") {
      EXPECT_EQ(v.text, "http://<x>");
    }
    if (v.name == "InstallDate") {
      EXPECT_EQ(v.text, "2004-01-02 03:04:05");
    }
  }
}

TEST(UninstallEntryValues, WrittenUnderTheKeyAndRequiredFailuresStop) {
  kvtest::FakeRegistry reg;
  const std::string path = "HKEY_LOCAL_MACHINE\\Software\\Uninstall\\Kelvo";
  ASSERT_TRUE(WriteUninstallEntry(reg, path, UninstallEntryValues(Input(kOptUninstallEntry))));
  EXPECT_EQ(reg.Text(RegRoot::kLocalMachine, "Software\\Uninstall\\Kelvo", "DisplayName"), "Kelvo");
  const kvtest::FakeValue* major =
      reg.Get(RegRoot::kLocalMachine, "Software\\Uninstall\\Kelvo", "VersionMajor");
  ASSERT_NE(major, nullptr);
  EXPECT_EQ(major->type, kRegDword);
  EXPECT_EQ(major->data, std::string("\3\0\0\0", 4));

  kvtest::FakeRegistry failing;
  failing.failSet = true;
  EXPECT_FALSE(WriteUninstallEntry(failing, path, UninstallEntryValues(Input(8))));
  kvtest::FakeRegistry noKey;
  noKey.failCreate = true;
  EXPECT_FALSE(WriteUninstallEntry(noKey, path, UninstallEntryValues(Input(8))));
  EXPECT_FALSE(WriteUninstallEntry(reg, "NOSUCHROOT\\Software\\X", UninstallEntryValues(Input(8))));
  EXPECT_FALSE(WriteUninstallEntry(reg, "HKLM", UninstallEntryValues(Input(8))));
}

TEST(UninstallRecords, TimestampRunOnceNameAndKeySplit) {
  EXPECT_EQ(FormatTimestamp(2004, 1, 2, 3, 4, 5), "2004-01-02 03:04:05");
  EXPECT_EQ(RunOnceValueName(0x01C4A1B2C3D4E5F6ull), "QEX01C4A1B2C3D4E5F6");
  std::string root, parent, leaf;
  ASSERT_TRUE(SplitKeyPath("HKLM\\Software\\Microsoft\\Uninstall\\Kelvo\\", &root, &parent, &leaf));
  EXPECT_EQ(root, "HKLM");
  EXPECT_EQ(parent, "Software\\Microsoft\\Uninstall");
  EXPECT_EQ(leaf, "Kelvo");
  ASSERT_TRUE(SplitKeyPath("HKCU\\Kelvo", &root, &parent, &leaf));
  EXPECT_EQ(parent, "");
  EXPECT_EQ(leaf, "Kelvo");
  EXPECT_FALSE(SplitKeyPath("HKLM", &root, &parent, &leaf));
  EXPECT_FALSE(SplitKeyPath("\\Software", &root, &parent, &leaf));
}

TEST(PreviousInstallation, WhenToLookAndWhatRuns) {
  EXPECT_FALSE(ShouldLookForPrevious(-1, false));
  EXPECT_TRUE(ShouldLookForPrevious(-1, true));
  EXPECT_TRUE(ShouldLookForPrevious(0, false));
  EXPECT_TRUE(ShouldLookForPrevious(2, false));
  EXPECT_FALSE(ShouldLookForPrevious(3, true));

  bool recognised = false;
  EXPECT_EQ(PreviousUninstallCommand("C:\\KELVO\\Setup.exe /REMOVE", &recognised),
            "C:\\KELVO\\Setup.exe /REMOVE /q /u");
  EXPECT_TRUE(recognised);
  EXPECT_EQ(PreviousUninstallCommand("C:\\other\\unins000.exe", &recognised),
            "C:\\other\\unins000.exe");
  EXPECT_FALSE(recognised);
  // "/removeall" still counts: the test is a plain substring one.
  PreviousUninstallCommand("x.exe /removeall", &recognised);
  EXPECT_TRUE(recognised);

  struct Case {
    int level;
    bool recognised, goOn;
  } quiet[] = {{-1, true, true}, {-1, false, false}, {0, true, false}, {1, false, false},
               {1, true, true},  {2, false, true},   {2, true, true}};
  for (const Case& c : quiet)
    EXPECT_EQ(QuietRunRemovesPrevious(c.level, c.recognised), c.goOn) << c.level << c.recognised;
}

TEST(UninstallDirs, RecordedInOrderAndReadBack) {
  SetupScript script;
  script.AddLine("[Install]");
  EXPECT_TRUE(ReadUninstallDirs(script).empty());
  RecordUninstallDir(script, "C:\\A");
  RecordUninstallDir(script, "C:\\A\\B");
  EXPECT_EQ(ReadUninstallDirs(script), (std::vector<std::string>{"C:\\A", "C:\\A\\B"}));
  const std::string text = script.ToText();
  EXPECT_NE(text.find("[UninstallDirs]\r\nDirectory=C:\\A\r\nDirectory=C:\\A\\B\r\n"),
            std::string::npos)
      << text;
}

TEST(UninstallDirs, EngineRecordsEachFolderOnceInTheScript) {
  SetupEngine engine(0x40, nullptr);
  const std::string script =
      "Version=2.67.1412\n[Install]\n[Symbols]\nAppFolder=1|255|C:\\A\nAppTitle=2|255|T\n"
      "[UninstallDirs]\nDirectory=C:\\Old\nDirectory=\n";
  ScriptLoadFailure failure;
  ASSERT_TRUE(engine.LoadScript(script.data(), script.size(), "Setup.ini", &failure));
  EXPECT_EQ(ReadUninstallDirs(engine.Script()), (std::vector<std::string>{"C:\\Old"}));
}

// Records every call, in order, as text.
class Trace : public RunHooks, public RemovalSteps {
 public:
  std::vector<std::string> calls;
  uint32_t stopAt = 0xFFFFFFFF;
  SetupEngine* engine = nullptr;
  int stateDuringSteps = -1;

  void Notify(int message) override { calls.push_back("notify " + std::to_string(message)); }
  bool RunActions(uint32_t phase) override {
    char text[32];
    std::snprintf(text, sizeof text, "actions %X", phase);
    calls.push_back(text);
    return phase != stopAt;
  }
  void RemoveShortcuts() override {
    calls.push_back("shortcuts");
    stateDuringSteps = engine->State();
  }
  void UnregisterFiles() override { calls.push_back("unregister"); }
  void RestoreSettings() override { calls.push_back("settings"); }
  void RemoveFiles() override { calls.push_back("files"); }
};

TEST(RemovalOrder, StepsNotificationsAndPhases) {
  SetupEngine engine(0x40, nullptr);
  Trace trace;
  trace.engine = &engine;
  InstallRun run;
  run.hooks = &trace;
  run.executable = "C:\\App\\Setup.exe";
  ASSERT_TRUE(RunRemovalSteps(engine, run, trace, false));
  EXPECT_EQ(trace.calls,
            (std::vector<std::string>{"notify 7", "actions 70000", "notify 24", "shortcuts",
                                      "notify 25", "actions 80000", "notify 22", "unregister",
                                      "notify 23", "actions 90000", "notify 26", "settings",
                                      "notify 27", "actions A0000", "notify 20", "files",
                                      "notify 21", "actions B0000"}));
  EXPECT_EQ(trace.stateDuringSteps, kEngineRunning);
  EXPECT_TRUE(run.filesRemoved);
  EXPECT_EQ(run.setupExePath, "C:\\App\\Setup.exe");
}

TEST(RemovalOrder, AnActionThatStopsEndsTheRemovalBeforeTheFiles) {
  SetupEngine engine(0x40, nullptr);
  Trace trace;
  trace.engine = &engine;
  trace.stopAt = 0x90000;
  InstallRun run;
  run.hooks = &trace;
  run.setupExePath = "C:\\Kept\\Setup.exe";
  EXPECT_FALSE(RunRemovalSteps(engine, run, trace, true));
  EXPECT_EQ(trace.calls.back(), "actions 90000");
  EXPECT_FALSE(run.filesRemoved);
  EXPECT_EQ(run.setupExePath, "C:\\Kept\\Setup.exe");
}

TEST(ShortcutFolders, LocationsAgainstTheUsersChoice) {
  using V = std::vector<ShortcutLocation>;
  struct Case {
    uint32_t locations, mask;
    bool group, custom;
    V expected;
  } cases[] = {
      // All three boxes cleared: only the program group is left.
      {257, 0, true, false, V{kLinkProgramGroup}},
      // Program group bit without a group (Options lacks 0x10): nothing.
      {256, 7, false, false, V{}},
      {0x307, 7, true, true,
       V{kLinkProgramGroup, kLinkPrograms, kLinkStartMenu, kLinkDesktop, kLinkCustomDir}},
      {0x7, 0x5, true, false, V{kLinkPrograms, kLinkDesktop}},
      {0x200, 0, false, false, V{}},
      {0x1, 0x6, true, true, V{}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShortcutFolders(c.locations, c.mask, c.group, c.custom), c.expected)
        << c.locations << " " << c.mask;
}

TEST(ShortcutSections, FieldsDefaultsChoicesAndPath) {
  SetupScript script;
  for (const char* line :
       {"[ShellLink]", "Title=A", "Path=<AppFolder>\\a.exe", "Description", "Locations=257",
        "[ShellLink]", "Title=B", "Path=b.exe", "IconIndex=3", "ShowCmd=7", "Locations=6",
        "[ShellLink]", "Title=C"})
    script.AddLine(line);
  const auto sections = ShortcutSections(script);
  ASSERT_EQ(sections.size(), 3u);
  const ShortcutItem a = ReadShortcutItem(*sections[0]);
  EXPECT_EQ(a.description, "");
  EXPECT_EQ(a.showCmd, 1);
  EXPECT_EQ(a.iconIndex, 0);
  const ShortcutItem b = ReadShortcutItem(*sections[1]);
  EXPECT_EQ(b.iconIndex, 3);
  EXPECT_EQ(b.showCmd, 7);
  EXPECT_EQ(ShortcutChoices(script), 7u);
  EXPECT_TRUE(CheckShortcutSection(*sections[0], nullptr));
  ScriptLoadFailure failure;
  EXPECT_FALSE(CheckShortcutSection(*sections[2], &failure));
  EXPECT_EQ(failure.line, 12u);
}

// The engine's loader refuses a shortcut with no target at all (empty
// counts as none) and hands the good ones on to the other readers.
TEST(ShortcutSections, ScriptWithAShortcutWithoutPathDoesNotLoad) {
  class Counting : public ScriptSectionReaders {
   public:
    int links = 0;
    bool ReadShellLink(ScriptSection&, ScriptLoadFailure*) override { return ++links, true; }
  };
  const std::string head =
      "Version=2.67.1412\n[Symbols]\nAppTitle=2|255|T\nAppFolder=1|255|C:\\T\n"
      "[ShellLink]\nTitle=Good\nPath=<AppFolder>\\t.exe\n[ShellLink]\nTitle=Bad\n";
  const struct {
    const char* what;
    std::string more;
    bool loads;
  } cases[] = {{"no Path", "", false},
               {"empty Path", "Path=\n", false},
               {"key without value", "Path\n", false},
               {"with Path", "Path=x.exe\n", true}};
  for (const auto& c : cases) {
    const std::string text = head + c.more;
    SetupEngine engine(osflags::kWinXP, std::make_unique<NoSymbolLookups>());
    Counting others;
    engine.SetSectionReaders(&others);
    ScriptLoadFailure failure;
    EXPECT_EQ(engine.LoadScript(text.data(), text.size(), "Setup.ini", &failure), c.loads)
        << c.what;
    EXPECT_EQ(others.links, c.loads ? 2 : 1) << c.what;
    if (c.loads) continue;
    EXPECT_EQ(failure.error, ScriptLoadError::kBadSection) << c.what;
    EXPECT_EQ(failure.line, 8u) << c.what;
    EXPECT_EQ(DescribeScriptLoadFailure(failure),
              "section cannot be read (line 8): [ShellLink] section without Path")
        << c.what;
  }
}

}  // namespace
