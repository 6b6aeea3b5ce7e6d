// The self-delete helper's environment block: entry order, the 64 KB limit
// (whole entries only, the closing empty string always fits), and what the
// engine contributes from an installed script.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/engine/expand.h"
#include "setup/engine/install_run.h"
#include "setup/engine/script_load.h"
#include "setup/engine/self_delete_list.h"
#include "setup/engine/setup_engine.h"

namespace {

// The block's strings up to (not including) the empty one; fails when the
// block does not end in exactly one empty string.
std::vector<std::string> Entries(const std::string& block) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < block.size() && block[at] != '\0') {
    const size_t end = block.find('\0', at);
    EXPECT_NE(end, std::string::npos) << "unterminated entry";
    if (end == std::string::npos) break;
    out.push_back(block.substr(at, end - at));
    at = end + 1;
  }
  EXPECT_EQ(at + 1, block.size()) << "block must end with one empty string";
  return out;
}

TEST(HelperEnvironment, EntriesInTheHelpersOrder) {
  HelperList list;
  list.setupExe = "C:\\Prog\\Kelvo\\Setup.exe";
  list.appFolder = "C:\\Prog\\Kelvo";
  list.bitmap1 = "C:\\Prog\\Kelvo\\_Setup1.bmp";
  list.bitmap2 = "C:\\Prog\\Kelvo\\_Setup2.bmp";
  list.languageDll = "C:\\Prog\\Kelvo\\_Setup.dll";
  list.extensionDll = "C:\\Prog\\Kelvo\\_Setupx.dll";
  list.pending = {"C:\\Prog\\Kelvo\\held.exe", "C:\\Prog\\Kelvo\\Data\\held.dat"};
  list.folders = {"C:\\Prog\\Kelvo\\", "C:\\Prog\\Kelvo\\Data", "C:\\Start\\Group\\\\"};
  std::vector<std::string> handed;
  const std::string block = BuildHelperEnvironment(list, &handed);
  EXPECT_EQ(Entries(block), (std::vector<std::string>{
                                "FC:\\Prog\\Kelvo\\Setup.exe",
                                "FC:\\Prog\\Kelvo\\Setup.ini",
                                "FC:\\Prog\\Kelvo\\_Setup1.bmp",
                                "FC:\\Prog\\Kelvo\\_Setup2.bmp",
                                "FC:\\Prog\\Kelvo\\_Setup.dll",
                                "FC:\\Prog\\Kelvo\\_Setupx.dll",
                                "FC:\\Prog\\Kelvo\\held.exe",
                                "FC:\\Prog\\Kelvo\\Data\\held.dat",
                                "DC:\\Prog\\Kelvo",
                                "DC:\\Prog\\Kelvo\\Data",
                                "DC:\\Start\\Group",
                            }));
  EXPECT_EQ(handed, (std::vector<std::string>{"C:\\Prog\\Kelvo", "C:\\Prog\\Kelvo\\Data",
                                               "C:\\Start\\Group"}));
}

TEST(HelperEnvironment, UnsetPathsAreLeftOutAndAnEmptyListIsOneEmptyString) {
  HelperList list;
  list.setupExe = "C:\\A\\Setup.exe";
  list.appFolder = "C:\\A\\";  // no doubled backslash before Setup.ini
  list.folders = {"", "\\"};   // nothing left to remove: no bare "D"
  std::vector<std::string> handed;
  EXPECT_EQ(Entries(BuildHelperEnvironment(list, &handed)),
            (std::vector<std::string>{"FC:\\A\\Setup.exe", "FC:\\A\\Setup.ini"}));
  EXPECT_TRUE(handed.empty());
  EXPECT_EQ(BuildHelperEnvironment(HelperList(), nullptr), std::string(1, '\0'));
}

// Fills a block up to `room` free bytes (entries of letter, path, NUL).
void FillLeaving(HelperEnvironment& env, size_t room) {
  while (env.Size() + 1000 + 2 + room <= kHelperBlockSize) ASSERT_TRUE(env.AddFile(std::string(1000, 'p')));
  const size_t rest = kHelperBlockSize - env.Size() - room;
  ASSERT_GE(rest, 3u);
  ASSERT_TRUE(env.AddFile(std::string(rest - 2, 'q')));
  ASSERT_EQ(env.Size(), kHelperBlockSize - room);
}

TEST(HelperEnvironment, EntriesGoInWholeOnlyWhileTheyFit) {
  struct Case {
    size_t room;     // free bytes before the entry
    size_t length;   // path length
    bool fits;
  } cases[] = {
      {10, 10, false},  // needs 12
      {12, 10, true},   // exactly up to 64 KB with the closing NUL
      {11, 10, false},
      {0, 1, false},    // a full block takes nothing more
  };
  for (const Case& c : cases) {
    for (bool folder : {false, true}) {
      HelperEnvironment env;
      FillLeaving(env, c.room);
      const std::string path(c.length, 'x');
      const size_t before = env.Size();
      EXPECT_EQ(folder ? env.AddFolder(path) : env.AddFile(path), c.fits)
          << c.room << " " << c.length << " " << folder;
      EXPECT_EQ(env.Size(), c.fits ? before + c.length + 2 : before);
      EXPECT_LE(env.Size(), kHelperBlockSize);
      const std::string block = env.Block();
      EXPECT_EQ(block.size(), env.Size());
      EXPECT_EQ(block.back(), '\0');
      EXPECT_EQ(block[block.size() - 2], '\0');
    }
  }
}

TEST(HelperEnvironment, AFullBlockKeepsLaterEntriesThatStillFit) {
  HelperList list;
  list.setupExe = "C:\\A\\Setup.exe";
  for (int i = 0; i < 70; ++i) list.pending.push_back("C:\\A\\" + std::string(990, char('a' + i % 26)));
  list.folders = {"C:\\" + std::string(2000, 'z'), "C:\\A"};
  std::vector<std::string> handed;
  const std::string block = BuildHelperEnvironment(list, &handed);
  ASSERT_LE(block.size(), kHelperBlockSize);
  const std::vector<std::string> entries = Entries(block);
  ASSERT_GT(entries.size(), 2u);
  EXPECT_EQ(entries.front(), "FC:\\A\\Setup.exe");
  for (const std::string& e : entries) {
    if (e[0] == 'F' && e != entries.front()) {
      EXPECT_EQ(e.size(), 1 + 5 + 990u) << "cut entry";
    }
  }
  // The long folder does not fit any more, the short one after it does.
  EXPECT_EQ(entries.back(), "DC:\\A");
  EXPECT_EQ(handed, (std::vector<std::string>{"C:\\A"}));
}

TEST(HelperEnvironment, CollectedFromAnInstalledScript) {
  const std::string script =
      "Version=2.67.1412\n[Install]\nOptions=8\nBmp1=<AppFolder>\\_Setup1.bmp\n"
      "[Symbols]\nAppFolder=1|255|C:\\Prog\\Kelvo\\\nAppTitle=2|255|Kelvo\n"
      "[Languages]\n0409=1073750016|0|English|English|C:\\Prog\\Kelvo\\_Setup.dll||\n"
      "0407=1073741824|0|Deutsch|German|C:\\Prog\\Kelvo\\de.dll||\n"
      "[Extras]\nOptions=268435456\nDllPath=C:\\Prog\\Kelvo\\_Setupx.dll\n"
      "[UninstallDirs]\nDirectory=C:\\Prog\\Kelvo\nDirectory=\nDirectory=C:\\Prog\\Kelvo\\Data\n";
  SetupEngine engine(0x40, nullptr);
  ScriptLoadFailure failure;
  ASSERT_TRUE(engine.LoadScript(script.data(), script.size(), "Setup.ini", &failure))
      << DescribeScriptLoadFailure(failure);
  InstallRun run;
  run.setupExePath = "C:\\PROG\\KELVO\\SETUP.EXE";
  const HelperList list = CollectHelperList(engine, run);
  EXPECT_EQ(list.setupExe, "C:\\PROG\\KELVO\\SETUP.EXE");
  EXPECT_EQ(list.appFolder, "C:\\Prog\\Kelvo");
  EXPECT_EQ(list.bitmap1, "C:\\Prog\\Kelvo\\\\_Setup1.bmp");
  EXPECT_EQ(list.bitmap2, "");
  // The language the installation used (flag 0x2000) with its DLL flag.
  EXPECT_EQ(list.languageDll, "C:\\Prog\\Kelvo\\_Setup.dll");
  EXPECT_EQ(list.extensionDll, "C:\\Prog\\Kelvo\\_Setupx.dll");
  EXPECT_EQ(list.folders, (std::vector<std::string>{"C:\\Prog\\Kelvo", "C:\\Prog\\Kelvo\\Data"}));

  // Another language chosen in this run, or the DLL flag missing: no DLL.
  engine.SetLanguageId(0x0407);
  EXPECT_EQ(CollectHelperList(engine, run).languageDll, "C:\\Prog\\Kelvo\\de.dll");
}

}  // namespace
