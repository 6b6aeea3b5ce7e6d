// The execute button: each action on folders and keys the test seeds, the
// unticking, the restart question at the end.
#include "kelvolite/privacy/clean_paths.h"
#include "kelvolite/privacy/restart.h"
#include "privacy_test_support.h"

using namespace privacytest;

namespace {

const std::string kRoot = "C:\\kvprivacy";
const char* const kFolderValues[] = {"Cookies", "Cache", "History", "Favorites", "Recent"};

UINT restartFlags = 0;
BOOL WINAPI FakeRestart(UINT flags, DWORD) {
  restartFlags = flags;
  return TRUE;
}

class PrivacyActionsTest : public MainFormTest {
protected:
  void SetUp() override {
    AssertThrowawayHome();
    if (HasFatalFailure()) return;
    MainFormTest::SetUp();
    OpenMainForm();
    ClickControl(form_->bbtPrivacyIcon);
    RemoveTree(kRoot);
    for (const char* value : kFolderValues) {
      MakeFolders(kRoot + "\\" + value + "\\sub");
      WriteTextFile(kRoot + "\\" + value + "\\one.txt", "x");
      WriteTextFile(kRoot + "\\" + value + "\\sub\\two.txt", "x");
      SetShellFolder(value, kRoot + "\\" + value);
    }
    ClearPendingDeletions();
    DeleteFileA((WindowsFolder() + "\\wininit.ini").c_str());
    restartFlags = 0;
    RestartWindowsCall = &FakeRestart;
  }
  void TearDown() override {
    MainFormTest::TearDown();
    RemoveTree(kRoot);
  }
  void Tick(std::initializer_list<TCheckBox*> boxes) {
    for (TCheckBox* cb : boxes) cb->SetChecked(true);
  }
  void Execute() { ClickControl(form_->bbtPrivacyConfirm); }
};

TEST_F(PrivacyActionsTest, FolderActionsEmptyEachShellFolderAndUntick) {
  TForm1& f = *form_;
  Tick({&f.cbCookies, &f.cbInternetFiles, &f.cbHistory, &f.cbFavorites, &f.cbRecent});
  BoxRecorder boxes(VK_ESCAPE);
  Execute();
  for (const char* value : kFolderValues) {
    EXPECT_TRUE(Exists(kRoot + "\\" + value)) << value;
    EXPECT_EQ(std::vector<std::string>{}, Entries(kRoot + "\\" + value)) << value;
  }
  for (TCheckBox* cb : {&f.cbCookies, &f.cbInternetFiles, &f.cbHistory, &f.cbFavorites, &f.cbRecent})
    EXPECT_FALSE(cb->Checked());
  EXPECT_EQ("", f.lPrivacyIEList.Caption());
  EXPECT_EQ("", f.lIEDeleteProcess.Caption());
  EXPECT_EQ("", f.lWindowsDeleteProcess.Caption());
  EXPECT_EQ(std::vector<std::string>{}, boxes.texts);  // nothing left: no restart question
}

TEST_F(PrivacyActionsTest, OnlyTheTickedActionRuns) {
  TForm1& f = *form_;
  Tick({&f.cbFavorites});
  Execute();
  EXPECT_EQ(std::vector<std::string>{}, Entries(kRoot + "\\Favorites"));
  for (const char* value : {"Cookies", "Cache", "History", "Recent"})
    EXPECT_EQ((std::vector<std::string>{"one.txt", "sub"}), Entries(kRoot + "\\" + value)) << value;
}

TEST_F(PrivacyActionsTest, TypedUrlsTempFoldersAndRecycleBin) {
  TForm1& f = *form_;
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs",
                                           0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegSetValueExA(key, "url1", 0, REG_SZ, reinterpret_cast<const BYTE*>("http://a/"), 10);
  RegCloseKey(key);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string userTemp = JoinPath(temp, "kvseed.tmp");
  const std::string windowsTemp = WindowsFolder() + "\\Temp\\kvseed folder";
  WriteTextFile(userTemp, "x");
  MakeFolders(windowsTemp);
  WriteTextFile(windowsTemp + "\\x.tmp", "x");
  // The Recycle Bin of this (throwaway) home.
  const std::string trash = "Z:" + UnixHome() + "/.local/share/Trash";
  MakeFolders(trash + "\\files");
  MakeFolders(trash + "\\info");
  WriteTextFile(trash + "\\files\\binned.txt", "x");
  WriteTextFile(trash + "\\info\\binned.txt.trashinfo",
                "[Trash Info]\nPath=/tmp/binned.txt\nDeletionDate=2004-01-01T00:00:00\n");

  Tick({&f.cbURLs, &f.cbWinTemp, &f.cbRecycleBin});
  BoxRecorder boxes(VK_ESCAPE);
  Execute();
  EXPECT_NE(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\TypedURLs", 0, KEY_READ, &key));
  EXPECT_FALSE(Exists(userTemp));
  EXPECT_FALSE(Exists(windowsTemp));
  EXPECT_FALSE(Exists(trash + "\\files\\binned.txt"));
  EXPECT_FALSE(f.cbURLs.Checked() || f.cbWinTemp.Checked() || f.cbRecycleBin.Checked());
  // Folder actions were not ticked: their folders are untouched.
  EXPECT_EQ((std::vector<std::string>{"one.txt", "sub"}), Entries(kRoot + "\\Cookies"));
}

TEST_F(PrivacyActionsTest, HeldCookieIsScheduledAndRestartIsOffered) {
  TForm1& f = *form_;
  const std::string held = kRoot + "\\Cookies\\index.dat";
  Tick({&f.cbCookies});
  {
    HeldFile file(held);
    BoxRecorder boxes(VK_ESCAPE);
    Execute();
    EXPECT_EQ(std::vector<std::string>{"Information|\n\nAll that files which are in use \nwill be deleted after "
                                       "restart!\nDo you want to restart the computer now?"},
              boxes.texts);
  }
  EXPECT_EQ(std::vector<std::string>{"index.dat"}, Entries(kRoot + "\\Cookies"));
  EXPECT_EQ(0u, restartFlags);
#ifdef KV_BUILD_NT
  EXPECT_EQ(std::vector<std::string>{held}, PendingDeletions());
#else
  EXPECT_NE(std::string::npos, ReadTextFile(WindowsFolder() + "\\wininit.ini").find("nul=" + ShortPath(held)));
#endif
}

TEST_F(PrivacyActionsTest, YesRestartsWithTheRebootFlag) {
  TForm1& f = *form_;
  Tick({&f.cbHistory});
  HeldFile file(kRoot + "\\History\\held.dat");
  BoxRecorder boxes(VK_RETURN);
  Execute();
  EXPECT_EQ(1u, boxes.texts.size());
  EXPECT_EQ(static_cast<UINT>(EWX_REBOOT), restartFlags);
}

TEST_F(PrivacyActionsTest, WithoutShellFoldersKeyTheFolderBoxesStayTicked) {
  TForm1& f = *form_;
  ASSERT_EQ(ERROR_SUCCESS,
            RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"));
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  WriteTextFile(JoinPath(temp, "kvseed.tmp"), "x");
  Tick({&f.cbCookies, &f.cbRecent, &f.cbWinTemp});
  Execute();
  EXPECT_TRUE(f.cbCookies.Checked() && f.cbRecent.Checked());
  EXPECT_FALSE(f.cbWinTemp.Checked());
  EXPECT_FALSE(Exists(JoinPath(temp, "kvseed.tmp")));
  EXPECT_EQ((std::vector<std::string>{"one.txt", "sub"}), Entries(kRoot + "\\Cookies"));
}

TEST_F(PrivacyActionsTest, ShellFolderNamingTheWindowsFolderIsLeftAlone) {
  TForm1& f = *form_;
  WriteTextFile(WindowsFolder() + "\\kvcanary.txt", "x");
  SetShellFolder("Cookies", WindowsFolder());
  SetShellFolder("Cache", "");
  Tick({&f.cbCookies, &f.cbInternetFiles});
  Execute();
  EXPECT_TRUE(Exists(WindowsFolder() + "\\kvcanary.txt"));
  EXPECT_FALSE(f.cbCookies.Checked());
  DeleteFileA((WindowsFolder() + "\\kvcanary.txt").c_str());
}

}  // namespace
