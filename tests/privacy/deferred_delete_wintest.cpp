// Deleting a folder's content now, and scheduling what is in use for the
// next restart: the NT build through the system's pending deletions, the 9x
// build through the [rename] section of wininit.ini.
#include "kelvolite/privacy/clean_paths.h"
#include "privacy_test_support.h"

using namespace privacytest;

namespace {

const std::string kRoot = "C:\\kvclean";

class DeferredDeleteTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    OpenMainForm();
    RemoveTree(kRoot);
    MakeFolders(kRoot + "\\target");
    ClearPendingDeletions();
    DeleteFileA(Wininit().c_str());
  }
  void TearDown() override {
    MainFormTest::TearDown();
    RemoveTree(kRoot);
  }
  static std::string Wininit() { return WindowsFolder() + "\\wininit.ini"; }
  static bool Nt() {
#ifdef KV_BUILD_NT
    return true;
#else
    return false;
#endif
  }
  // What was scheduled, in order, as long paths.
  static std::vector<std::string> Scheduled() {
    if (Nt()) return PendingDeletions();
    std::vector<std::string> lines;
    const std::string text = ReadTextFile(Wininit());
    for (std::string::size_type at = 0; (at = text.find("nul=", at)) != std::string::npos; at += 4) {
      std::string shortPath = text.substr(at + 4, text.find("\r\n", at) - at - 4);
      char longPath[MAX_PATH] = "";
      GetLongPathNameA(shortPath.c_str(), longPath, MAX_PATH);
      lines.push_back(longPath);
    }
    return lines;
  }
};

TEST_F(DeferredDeleteTest, EmptiesTheWholeTreeAndKeepsTheFolder) {
  const std::string t = kRoot + "\\target";
  WriteTextFile(t + "\\plain.txt", "x");
  WriteTextFile(t + "\\noextension", "x");
  WriteTextFile(t + "\\hidden.dat", "x");
  SetFileAttributesA((t + "\\hidden.dat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  MakeFolders(t + "\\a long sub folder\\deeper");
  WriteTextFile(t + "\\a long sub folder\\deeper\\index.dat", "x");
  EXPECT_TRUE(form_->CleanFolder(t, "*.*"));
  EXPECT_TRUE(Exists(t));
  EXPECT_EQ(std::vector<std::string>{}, Entries(t));
  EXPECT_EQ(std::vector<std::string>{}, Scheduled());
}

TEST_F(DeferredDeleteTest, HeldFileAndItsFolderAreScheduledTheRestGoes) {
  const std::string t = kRoot + "\\target";
  MakeFolders(t + "\\sub");
  WriteTextFile(t + "\\sub\\free.txt", "x");
  WriteTextFile(t + "\\other.txt", "x");
  {
    HeldFile held(t + "\\sub\\held.dat");
    EXPECT_FALSE(form_->CleanFolder(t, "*.*"));
  }
  EXPECT_EQ(std::vector<std::string>{"sub"}, Entries(t));
  EXPECT_EQ(std::vector<std::string>{"held.dat"}, Entries(t + "\\sub"));
  EXPECT_EQ((std::vector<std::string>{t + "\\sub\\held.dat", t + "\\sub"}), Scheduled());
  EXPECT_EQ(0u, form_->FUnscheduledError);
}

TEST_F(DeferredDeleteTest, ReadOnlyFileIsScheduledNotForced) {
  const std::string file = kRoot + "\\target\\readonly.txt";
  WriteTextFile(file, "x");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(form_->CleanFolder(kRoot + "\\target", "*.*"));
  EXPECT_TRUE(Exists(file));
  EXPECT_EQ(std::vector<std::string>{file}, Scheduled());
}

TEST_F(DeferredDeleteTest, LinkInsideIsRemovedButNeverFollowed) {
  const std::string precious = kRoot + "\\precious";
  MakeFolders(precious + "\\inner");
  WriteTextFile(precious + "\\keep.txt", "keep");
  WriteTextFile(precious + "\\inner\\keep too.txt", "keep");
  const std::string link = kRoot + "\\target\\link";
  ASSERT_TRUE(MakeUnixSymlink(precious, link));
  ASSERT_EQ(0x410u, GetFileAttributesA(link.c_str()) & 0x410u);
  form_->CleanFolder(kRoot + "\\target", "*.*");
  EXPECT_EQ("keep", ReadTextFile(precious + "\\keep.txt"));
  EXPECT_EQ("keep", ReadTextFile(precious + "\\inner\\keep too.txt"));
  // The link itself is gone, or waits for the restart.
  const std::vector<std::string> scheduled = Scheduled();
  EXPECT_TRUE(!Exists(link) || scheduled == std::vector<std::string>{link});
}

TEST_F(DeferredDeleteTest, RootsAndSystemFoldersAreNeverEmptied) {
  // A canary in each: were a folder not refused, the mask would take it.
  const std::string windows = WindowsFolder();
  char profile[MAX_PATH] = "";
  GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
  ASSERT_NE('\0', profile[0]);
  const std::string guarded[] = {"C:\\", windows, std::string(profile), "C:\\windows\\system32"};
  for (const std::string& folder : guarded) WriteTextFile(JoinPath(folder, "kvcanary.txt"), "x");
  const std::string refused[] = {"",           "C:\\",           "C:",        "C:\\.",
                                 windows,      windows + "\\",   "C:\\WINDOWS\\..\\windows",
                                 profile,      "kvclean",        "C:\\windows\\system32"};
  for (const std::string& folder : refused) {
    EXPECT_TRUE(form_->CleanFolder(folder, "kvcanary.txt")) << folder;
    EXPECT_FALSE(IsSafeFolderToEmpty(folder)) << folder;
  }
  for (const std::string& folder : guarded) {
    EXPECT_TRUE(Exists(JoinPath(folder, "kvcanary.txt"))) << folder;
    DeleteFileA(JoinPath(folder, "kvcanary.txt").c_str());
  }
  EXPECT_TRUE(IsSafeFolderToEmpty(kRoot + "\\target"));
  EXPECT_TRUE(IsSafeFolderToEmpty(windows + "\\Temp"));
}

#ifdef KV_BUILD_NT
TEST_F(DeferredDeleteTest, CleanFileOnMissingAndHeldFiles) {
  EXPECT_TRUE(form_->CleanFile(kRoot + "\\target\\absent.dat"));
  EXPECT_EQ(std::vector<std::string>{}, PendingDeletions());
  WriteTextFile(kRoot + "\\target\\gone.dat", "x");
  EXPECT_TRUE(form_->CleanFile(kRoot + "\\target\\gone.dat"));
  EXPECT_FALSE(Exists(kRoot + "\\target\\gone.dat"));
  {
    HeldFile held(kRoot + "\\target\\held.dat");
    EXPECT_FALSE(form_->CleanFile(kRoot + "\\target\\held.dat"));
  }
  EXPECT_EQ(std::vector<std::string>{kRoot + "\\target\\held.dat"}, PendingDeletions());
}

TEST_F(DeferredDeleteTest, CleanFileInAMissingFolderIsNotReportedAsGone) {
  // Deleting fails with "path not found"; what the system does with the
  // request decides: scheduled (false), or refused for an entry that does
  // not exist, which is nothing to report.
  const std::string path = kRoot + "\\no such folder\\file.dat";
  const bool result = form_->CleanFile(path);
  EXPECT_EQ(result, PendingDeletions().empty());
  EXPECT_EQ(0u, form_->FUnscheduledError);
}
#else
TEST_F(DeferredDeleteTest, WininitIsRewrittenAroundTheRenameSection) {
  const std::string held = kRoot + "\\target\\held.dat";
  std::string shortHeld;
  const std::string longLine = "; " + std::string(230, 'x') + " [rename]";
  const struct {
    const char* name;
    std::string before;
    bool absent;
    std::string after;  // NUL stands for the new "nul=" line
  } cases[] = {
      {"absent", "", true, "[rename]\r\nNUL\r\n"},
      {"capital header", "[boot]\r\na=1\r\n[Rename]\r\nnul=C:\\OLD.TXT\r\n", false,
       "[boot]\r\na=1\r\n[Rename]\r\nNUL\r\nnul=C:\\OLD.TXT\r\n"},
      {"no section", "[boot]\r\na=1\r\n", false, "[boot]\r\na=1\r\n[rename]\r\nNUL\r\n"},
      {"last line without end", "[rename]\r\nnul=C:\\OLD.TXT", false, "[rename]\r\nNUL\r\nnul=C:\\OLD.TXT\r\n"},
      {"long lines", longLine + "\r\n[rename]\r\n" + longLine, false,
       longLine + "\r\n[rename]\r\nNUL\r\n" + longLine + "\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileA(Wininit().c_str());
    if (!c.absent) WriteTextFile(Wininit(), c.before);
    {
      HeldFile file(held);
      shortHeld = ShortPath(held);
      EXPECT_FALSE(form_->CleanFolder(kRoot + "\\target", "*.*"));
    }
    std::string expected = c.after;
    expected.replace(expected.find("NUL"), 3, "nul=" + shortHeld);
    EXPECT_EQ(expected, ReadTextFile(Wininit()));
  }
  // The temporary copy is not left behind.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (const std::string& name : Entries(temp)) EXPECT_NE(0u, name.rfind("KVW", 0)) << name;
}

TEST_F(DeferredDeleteTest, WininitInUseIsReportedAndNothingIsDeleted) {
  WriteTextFile(Wininit(), "[rename]\r\n");
  WriteTextFile(kRoot + "\\target\\keep.txt", "x");
  // Readable but not writable: the rewrite cannot open it. Held without any
  // sharing: not even the copy can be made.
  const struct {
    DWORD share;
    const char* seen;
  } cases[] = {{FILE_SHARE_READ, "Error|\n\nThe application could not open\nthe file wininit.ini"},
               {0, "GetLastError|"}};
  for (const auto& c : cases) {
    HANDLE holder = CreateFileA(Wininit().c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    BoxRecorder boxes(VK_RETURN);
    EXPECT_TRUE(form_->CleanFolder(kRoot + "\\target", "*.*"));
    CloseHandle(holder);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(0u, boxes.texts[0].rfind(c.seen, 0)) << boxes.texts[0];
    EXPECT_TRUE(Exists(kRoot + "\\target\\keep.txt"));
    EXPECT_EQ("[rename]\r\n", ReadTextFile(Wininit()));
  }
}
#endif

}  // namespace
