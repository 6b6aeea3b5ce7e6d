// Hint texts: registered language, lang.lng in the current folder, defaults.
#include <fstream>

#include "shell_fixture.h"

namespace {

const char kProgramKey[] = "Software\\Quorlan Soft\\Kelvo Remover 2004 Lite";

class HintsTest : public MainFormTest {
protected:
  void SetUp() override {
    MainFormTest::SetUp();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProgramKey);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "kv_hints_test";
    CreateDirectoryA(folder_.c_str(), nullptr);
    DeleteFileA((folder_ + "\\lang.lng").c_str());
    GetCurrentDirectoryA(MAX_PATH, saved_);
    SetCurrentDirectoryA(folder_.c_str());
  }
  void TearDown() override {
    MainFormTest::TearDown();
    SetCurrentDirectoryA(saved_);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProgramKey);
  }
  void RegisterLanguage(const char* language) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_LOCAL_MACHINE, kProgramKey, &key));
    RegSetValueExA(key, "Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language),
                   static_cast<DWORD>(strlen(language) + 1));
    RegCloseKey(key);
  }
  void WriteLanguageFile(const std::string& text) {
    std::ofstream(folder_ + "\\lang.lng", std::ios::binary) << text;
  }

  std::string folder_;
  char saved_[MAX_PATH] = {};
};

TEST_F(HintsTest, WithoutARegisteredLanguageTheStoredHintsStay) {
  WriteLanguageFile("[English]\nbbtUninstallIcon=From the file\n");
  OpenMainForm();
  EXPECT_EQ("", form_->bbtUninstallIcon.Hint());
  EXPECT_EQ("", form_->bbtExitIcon.Hint());
  EXPECT_EQ("Uninstall selected program", form_->pmiListViewDelete.Hint());
  EXPECT_EQ("Change to Report view", form_->pmiListViewReport.Hint());
  EXPECT_EQ("Kelvo Remover 2004", form_->TrayIcon.Hint());
}

TEST_F(HintsTest, ARegisteredLanguageWithoutTheFileGivesTheDefaults) {
  RegisterLanguage("English");
  OpenMainForm();
  EXPECT_EQ("Uninstall Programs", form_->bbtUninstallIcon.Hint());
  EXPECT_EQ("Uninstall the selected program", form_->pmiListViewDelete.Hint());
  EXPECT_EQ("Minimize the program", form_->bbtExitIcon.Hint());
  EXPECT_EQ("Select all actions", form_->bbtPrivacyIESelectAll.Hint());
  EXPECT_EQ("Select all actions", form_->bbtPrivacyWindowsSelectAll.Hint());
  EXPECT_EQ("Exit program", form_->pmiExit.Hint());
}

TEST_F(HintsTest, APartialSectionMixesFileTextsAndDefaults) {
  RegisterLanguage("Deutsch");
  WriteLanguageFile(
      "[English]\nbbtHelpIcon=English help\n\n[Deutsch]\nbbtHelpIcon=Hilfe\nTrayIcon=Kelvo Entferner\n"
      "lvStartup=" + std::string(600, 'x') + "\n");
  OpenMainForm();
  EXPECT_EQ("Hilfe", form_->bbtHelpIcon.Hint());
  EXPECT_EQ("Kelvo Entferner", form_->TrayIcon.Hint());
  EXPECT_EQ(std::string(499, 'x'), form_->lvStartup.Hint());
  EXPECT_EQ("About", form_->bbtAboutIcon.Hint());
}

TEST_F(HintsTest, AnUnknownSectionGivesTheDefaults) {
  RegisterLanguage("Klingon");
  WriteLanguageFile("[English]\nbbtHelpIcon=English help\n");
  OpenMainForm();
  EXPECT_EQ("Help", form_->bbtHelpIcon.Hint());
  EXPECT_EQ("Kelvo Remover 2004", form_->TrayIcon.Hint());
}

TEST_F(HintsTest, TheShippedFileHasTheEnglishTexts) {
  RegisterLanguage("English");
  std::ifstream shipped(KV_SOURCE_DIR "/kelvolite/res/lang.lng", std::ios::binary);
  ASSERT_TRUE(shipped.good());
  std::string text((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
  WriteLanguageFile(text);
  OpenMainForm();
  EXPECT_EQ("Uninstall selected program", form_->pmiListViewDelete.Hint());
  EXPECT_EQ("Kill the selected process", form_->bbtTaskManKill.Hint());
}

}  // namespace
