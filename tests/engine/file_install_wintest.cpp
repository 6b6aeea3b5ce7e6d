// Installing and removing files through the engine's steps, with packages
// built in the test: what lands on disk, what the script lines record, the
// SharedDLLs counts, deferred replacement (delayed moves on NT, WININIT.INI
// on 9x) and the failures that end the file step.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/engine/archive.h"
#include "setup/engine/script_io.h"
#include "setup/engine/setup_engine.h"
#include "support/kvz_writer.h"
#include "support/wine_persona.h"

namespace {

using kvtest::Bytes;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string Read(const std::string& path) {
  Bytes b = kvtest::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
void WriteText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD n = 0;
  WriteFile(h, text.data(), DWORD(text.size()), &n, nullptr);
  CloseHandle(h);
}
void SetTime(const std::string& path, uint64_t t) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME ft = {DWORD(t), DWORD(t >> 32)};
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}

const char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

int SharedCount(const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof(value), type = 0;
  LONG r = RegQueryValueExA(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return r == ERROR_SUCCESS ? int(value) : -1;
}
void SetSharedCount(const std::string& path, DWORD count) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&count), sizeof(count));
  RegCloseKey(key);
}

// Answers like a user would, and remembers what it was asked.
class Recorder : public EngineMessages {
 public:
  std::vector<uint32_t> shown;
  std::vector<int> answers;  // for questions, in order; then Cancel
  std::function<void()> onQuestion;
  int Show(uint32_t id, const std::string&, const std::string& text, MessageKind kind) override {
    shown.push_back(id);
    EXPECT_FALSE(text.empty());
    if (kind != MessageKind::kRetryCancel) return kAnswerOk;
    if (onQuestion) onQuestion();
    if (answers.empty()) return kAnswerCancel;
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
};

class FileInstall : public ::testing::Test {
 protected:
  kvtest::TempDir dir;
  std::string app = dir.Path("App");
  std::unique_ptr<SetupEngine> engine;
  SetupArchive archive;
  Recorder recorder;

  static uint32_t OtherFamily() {
    return kvtest::PersonaFamily() == kvtest::Family::Win9x ? 0xF0 : 0x0F;
  }

  // Loads the script around the given [Files] lines and opens the package.
  void Load(const std::string& files, const std::vector<kvtest::Entry>& entries,
            const std::string& install = "", size_t cutArchiveAt = 0) {
    const std::string script = "Version=2.67.1412\n[Install]\n" + install +
                               "\n[Symbols]\nAppFolder=1|255|" + app +
                               "\nAppTitle=2|255|Test\n[Files]\nInstallDir=<AppFolder>\n" + files;
    engine = SetupEngine::ForRunningSystem();
    ScriptLoadFailure failure;
    ASSERT_TRUE(engine->LoadScript(script.data(), script.size(), "Setup.ini", &failure))
        << DescribeScriptLoadFailure(failure);
    Bytes package = kvtest::BuildArchive(entries);
    if (cutArchiveAt) package.resize(cutArchiveAt);
    const std::string path = dir.Write("package.kvz", package);
    ASSERT_EQ(archive.Open(path.c_str(), 0, nullptr), 0);
    engine->SetArchive(&archive);
    engine->SetMessages(&recorder);
  }
  FileItem& Item(size_t i) { return *engine->FileSections()[0]->items[i]; }
  std::string Saved() {
    engine->StoreFiles();
    return engine->Script().ToText();
  }
  static kvtest::Entry E(const std::string& name, const std::string& body) {
    kvtest::Entry e;
    e.name = name;
    e.body = Text(body);
    return e;
  }
};

TEST_F(FileInstall, InstallThenRemoveKeepsWhatOthersCountAndOwn) {
  CreateDirectoryA(app.c_str(), nullptr);
  WriteText(app + "\\keep.txt", "old");
  WriteText(app + "\\other.bin", "not ours");
  WriteText(app + "\\x.tmp", "stale");
  WriteText(app + "\\y.tmp", "stale");
  WriteText(app + "\\z.txt", "stays");
  const std::string lib = app + "\\lib.dll";
  SetSharedCount(lib, 1);  // another product counts it but has not installed it here
  const std::string other = std::to_string(OtherFamily());
  Load("File=a.txt|3|3|0|0|0=a.txt|0|-1|255|0||\n"
       "File=keep.txt|3|1|0|0|0=keep.txt|0|-1|255|0||\n"
       "File=lib.dll|3|3|1|1|0=lib.dll|0|-1|255|0||\n"
       "File=other.bin|3|3|1|0|0=other.bin|0|-1|" + other + "|0||\n"
       "File=*.tmp|0|16|0|0|0=*.tmp|0|-1|255|0||\n"
       "File=last.txt|4|3|1|0|0=last.txt|0|-1|255|0||\n",
       {E("a.txt", "AAA"), E("keep.txt", "new"), E("lib.dll", "DLL"), E("other.bin", "xyz"),
        E("last.txt", "LAST")});

  EXPECT_TRUE(engine->InstallFiles());
  EXPECT_EQ(engine->State(), kEngineRunning);
  EXPECT_EQ(Read(app + "\\a.txt"), "AAA");
  EXPECT_EQ(Read(app + "\\keep.txt"), "old");
  EXPECT_EQ(Read(app + "\\other.bin"), "not ours");
  EXPECT_EQ(Read(app + "\\last.txt"), "LAST");  // the skipped body did not upset the stream
  EXPECT_FALSE(Exists(app + "\\x.tmp"));
  EXPECT_FALSE(Exists(app + "\\y.tmp"));
  EXPECT_TRUE(Exists(app + "\\z.txt"));
  EXPECT_FALSE(Exists(app + "\\a.txt.$$$"));
  EXPECT_EQ(SharedCount(lib), 2);
  const std::string saved = Saved();
  EXPECT_NE(saved.find("File=" + app + "\\a.txt|3|3|0|0|0=a.txt|1|"), std::string::npos) << saved;
  EXPECT_NE(saved.find("File=" + app + "\\keep.txt|3|1|0|0|0=keep.txt|3|"), std::string::npos);
  EXPECT_NE(saved.find("File=" + app + "\\lib.dll|3|3|1|1|0=lib.dll|1|"), std::string::npos);
  EXPECT_NE(saved.find("other.bin|3|3|1|0|0=other.bin|-4|"), std::string::npos);
  EXPECT_NE(saved.find("File=" + app + "\\*.tmp|0|16|0|0|0=*.tmp|-4|"), std::string::npos);
  EXPECT_TRUE(recorder.shown.empty());

  // Removal reads the saved copy, as the removal run does.
  const std::string installed = dir.Path("Setup.ini");
  ASSERT_TRUE(SaveScriptFile(engine->Script(), installed.c_str()));
  auto removal = SetupEngine::ForRunningSystem();
  ASSERT_TRUE(removal->LoadScriptFile(installed.c_str(), nullptr));
  removal->UnregisterFiles();
  removal->RemoveFiles();
  EXPECT_FALSE(Exists(app + "\\a.txt"));
  EXPECT_FALSE(Exists(app + "\\last.txt"));
  EXPECT_EQ(Read(app + "\\keep.txt"), "old");        // no remove flag
  EXPECT_EQ(Read(app + "\\other.bin"), "not ours");  // line for the other OS family
  EXPECT_EQ(Read(lib), "DLL");                       // still counted by the other product
  EXPECT_EQ(SharedCount(lib), 1);
  EXPECT_TRUE(removal->UnremovedFiles().empty());
}

TEST_F(FileInstall, ReplaceIfNewerComparesVersionsThenTime) {
  CreateDirectoryA(app.c_str(), nullptr);
  const uint64_t t = 0x01D0000000000000ull;
  // Targets have no version resource; sources carry their header words.
  struct Case { const char* name; uint32_t versions[4]; uint64_t sourceTime; int status; };
  const Case cases[] = {
      {"versioned.dll", {1, 2, 3, 4}, t - 1000, 2},
      {"equal.dll", {0, 0, 0, 0}, t, 3},
      {"older.dll", {0, 0, 0, 0}, t - 1000, 3},
      {"newer_time.dll", {0, 0, 0, 0}, t + 1000, 2},
  };
  std::string lines;
  std::vector<kvtest::Entry> entries;
  for (const Case& c : cases) {
    WriteText(app + "\\" + c.name, "target");
    SetTime(app + "\\" + c.name, t);
    lines += std::string("File=") + c.name + "|6|3|2|0|0=" + c.name + "|0|-1|255|0||\n";
    kvtest::Entry e = E(c.name, "source");
    e.lastWrite = c.sourceTime;
    for (int i = 0; i < 4; ++i) e.versions[i] = c.versions[i];
    entries.push_back(e);
  }
  Load(lines, entries);
  ASSERT_TRUE(engine->InstallFiles());
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(Item(i).status, cases[i].status) << cases[i].name;
    EXPECT_EQ(Read(app + "\\" + cases[i].name), cases[i].status == 2 ? "source" : "target")
        << cases[i].name;
  }
}

std::string PendingRenames() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return "";
  char data[8192] = {};
  DWORD size = sizeof(data) - 2, type = 0;
  RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  std::string s(data, size);
  for (char& c : s) c = c ? c : '\n';
  return s;
}

std::string ShortOf(const std::string& path) {
  char b[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), b, MAX_PATH);
  return std::string(b, n);
}

TEST_F(FileInstall, LockedTargetIsReplacedAtRestart) {
  CreateDirectoryA(app.c_str(), nullptr);
  const std::string target = app + "\\busy.dll";
  WriteText(target, "old");
  SetSharedCount(target, 1);
  HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Load("File=busy.dll|3|3|1|1|0=busy.dll|0|-1|255|0||\n", {E("busy.dll", "new")});
  recorder.answers = {kAnswerRetry, kAnswerCancel};  // still locked on Retry
  ASSERT_TRUE(engine->InstallFiles());
  CloseHandle(lock);
  EXPECT_EQ(recorder.shown, (std::vector<uint32_t>{kStrFileInUse, kStrFileInUse}));
  EXPECT_EQ(Item(0).status, kFileInUse);
  ASSERT_EQ(engine->PendingReplacements().size(), 1u);
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(Read(target + ".$$$"), "new");
  EXPECT_EQ(SharedCount(target), 1);

  engine->FinishPendingReplacements();
  EXPECT_EQ(Item(0).status, kFileReplaced);
  EXPECT_TRUE(engine->RestartNeeded());
  EXPECT_EQ(SharedCount(target), 2);
  EXPECT_NE(Saved().find("busy.dll|3|3|1|1|0=busy.dll|2|"), std::string::npos);
  if (kvtest::PersonaFamily() == kvtest::Family::Win9x) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string wininit = Read(std::string(windows) + "\\WININIT.INI");
    EXPECT_NE(wininit.find("[rename]\r\n"), std::string::npos) << wininit;
    EXPECT_NE(wininit.find(ShortOf(target) + "=" + ShortOf(target + ".$$$") + "\r\n"), std::string::npos)
        << wininit;
  } else {
    const std::string pending = PendingRenames();
    const size_t from = pending.find(target + ".$$$\n");
    ASSERT_NE(from, std::string::npos) << pending;
    EXPECT_NE(pending.find("!\\??\\" + target + "\n", from), std::string::npos) << pending;
  }
}

TEST_F(FileInstall, RetryAfterTheFileIsClosedInstallsIt) {
  CreateDirectoryA(app.c_str(), nullptr);
  const std::string target = app + "\\busy.txt";
  WriteText(target, "old");
  HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Load("File=busy.txt|3|3|1|0|0=busy.txt|0|-1|255|0||\n", {E("busy.txt", "new")});
  recorder.answers = {kAnswerRetry};
  recorder.onQuestion = [&] { CloseHandle(lock); };
  ASSERT_TRUE(engine->InstallFiles());
  EXPECT_EQ(Item(0).status, kFileReplaced);
  EXPECT_EQ(Read(target), "new");
  EXPECT_FALSE(Exists(target + ".$$$"));
}

// Each failure ends the step at its line with string 140 (139 for the
// folder), leaves nothing under the target name, and records what was
// installed before it.
TEST_F(FileInstall, MissingSourceEndsTheStep) {
  Load("File=a.txt|3|3|0|0|0=a.txt|0|-1|255|0||\n"
       "File=gone.txt|3|3|0|0|0=gone.txt|0|-1|255|0||\n"
       "File=b.txt|3|3|0|0|0=b.txt|0|-1|255|0||\n",
       {E("a.txt", "A"), E("b.txt", "B")});
  EXPECT_FALSE(engine->InstallFiles());
  EXPECT_EQ(engine->State(), kEngineFailed);
  EXPECT_EQ(Item(0).status, kFileInstalledNew);
  EXPECT_EQ(Item(1).status, kFileSourceMissing);
  EXPECT_EQ(Item(2).status, kFileNotProcessed);
  EXPECT_FALSE(Exists(app + "\\b.txt"));
  EXPECT_EQ(recorder.shown, std::vector<uint32_t>{kStrFileFailed});
  EXPECT_NE(Saved().find("File=" + app + "\\a.txt|3|3|0|0|0=a.txt|1|"), std::string::npos);
}

TEST_F(FileInstall, QuietRunShowsNothingAndIgnoredClassGoesOn) {
  Load("File=gone.txt|3|3|0|0|0=gone.txt|0|-1|255|0||\n", {E("a.txt", "A")}, "Ignore=1");
  engine->SetQuiet(true);
  EXPECT_TRUE(engine->InstallFiles());
  EXPECT_EQ(engine->State(), kEngineRunning);
  EXPECT_EQ(Item(0).status, kFileSourceMissing);
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FileInstall, DamagedArchiveInTheMiddleOfAFile) {
  kvtest::Entry big = E("big.bin", "");
  big.body = kvtest::MixedData(300000, 7);
  const Bytes whole = kvtest::BuildArchive({E("a.txt", "A"), big});
  CreateDirectoryA(app.c_str(), nullptr);
  WriteText(app + "\\big.bin", "old");
  Load("File=a.txt|1|3|0|0|0=a.txt|0|-1|255|0||\n"
       "File=big.bin|300000|3|1|0|0=big.bin|0|-1|255|0||\n",
       {E("a.txt", "A"), big}, "", whole.size() * 2 / 3);
  EXPECT_FALSE(engine->InstallFiles());
  EXPECT_EQ(engine->State(), kEngineFailed);
  EXPECT_EQ(Item(0).status, kFileInstalledNew);
  EXPECT_EQ(Item(1).status, kFileFailed);
  EXPECT_EQ(Read(app + "\\big.bin"), "old");
  EXPECT_FALSE(Exists(app + "\\big.bin.$$$"));
  EXPECT_EQ(recorder.shown, std::vector<uint32_t>{kStrFileFailed});
}

TEST_F(FileInstall, FolderThatCannotBeCreated) {
  WriteText(dir.Path("App"), "a file where the folder should be");
  app = dir.Path("App") + "\\Sub";
  Load("File=a.txt|1|3|0|0|0=a.txt|0|-1|255|0||\n", {E("a.txt", "A")});
  EXPECT_FALSE(engine->InstallFiles());
  EXPECT_EQ(engine->State(), kEngineFailed);
  EXPECT_EQ(Item(0).status, kFileFailed);
  EXPECT_EQ(recorder.shown, std::vector<uint32_t>{kStrFolderFailed});
}

TEST_F(FileInstall, CreatedFoldersAreRecordedParentsFirst) {
  app = dir.Path("One") + "\\Two";
  Load("File=a.txt|1|3|0|0|0=a.txt|0|-1|255|0||\n", {E("a.txt", "A")});
  ASSERT_TRUE(engine->InstallFiles());
  EXPECT_EQ(engine->CreatedFolders(), (std::vector<std::string>{dir.Path("One"), app}));
}

TEST_F(FileInstall, HelpFileRegistrationAndItsUndo) {
  Load("File=guide.hlp|1|3|1|0|5=guide.hlp|0|-1|255|0||\n", {E("guide.hlp", "H")});
  CreateDirectoryA(app.c_str(), nullptr);
  WriteText(app + "\\guide.gid", "index");
  ASSERT_TRUE(engine->InstallFiles());
  EXPECT_FALSE(Exists(app + "\\guide.gid"));
  ASSERT_TRUE(engine->RegisterFiles());
  char value[MAX_PATH] = {};
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\Help", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD type = 0, bytes = sizeof(value);
  EXPECT_EQ(RegQueryValueExA(key, "guide.hlp", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(value), app + "\\guide.hlp");
  engine->UnregisterFiles();
  EXPECT_NE(RegQueryValueExA(key, "guide.hlp", nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

}  // namespace
