// The add dialog: a shortcut in the user's Startup folder that reads back
// through the shell link object, the warnings that keep the dialog open,
// and the refreshed list afterwards.
#include <objbase.h>
#include <shlobj.h>

#include "kelvolite/startup/startup_create_dialog.h"
#include "startup_test_support.h"

namespace startuptest {
namespace {

struct LinkData {
  std::string target, description, workingFolder;
};

bool ReadLink(const std::string& path, LinkData& data) {
  CoInitialize(nullptr);
  bool ok = false;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        data.target = text;
        text[0] = 0;
        link->GetDescription(text, MAX_PATH);
        data.description = text;
        text[0] = 0;
        link->GetWorkingDirectory(text, MAX_PATH);
        data.workingFolder = text;
        ok = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return ok;
}

std::string Lower(std::string s) {
  CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

std::string WithoutTrailingSlash(std::string s) {
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

class StartupCreate : public StartupPageTest {
protected:
  void SetUp() override {
    StartupPageTest::SetUp();
    programFolder_ = "C:\\kvtest tools";
    CreateDirectoryA(programFolder_.c_str(), nullptr);
    program_ = programFolder_ + "\\Mon.Agent.exe";
    WriteFileText(program_, "MZ");
  }
  std::string programFolder_, program_;
};

TEST(StartupCreateNames, ProposedDisplayNameDropsFolderAndLastExtension) {
  const struct {
    const char* path;
    const char* name;
  } cases[] = {{"C:\\Tools\\Mon.Agent.exe", "Mon.Agent"},
               {"C:\\Tools\\agent", "agent"},
               {"C:\\Tools.d\\agent", "agent"},
               {"D:\\Links\\Tool.lnk", "Tool"}};
  for (const auto& c : cases) EXPECT_EQ(c.name, ProposedDisplayName(c.path)) << c.path;
}

TEST_F(StartupCreate, CreatesALinkThatReadsBackAndShowsUpTicked) {
  ShowStartupPage();
  AnswerNextBox("TfmStartupCreateDialog", 0, [this](HWND) {
    ASSERT_NE(nullptr, fmStartupCreateDialog);
    fmStartupCreateDialog->edFileName.SetText(program_);
    fmStartupCreateDialog->edDisplayName.SetText("Monitor Agent");
    ClickControl(fmStartupCreateDialog->bbtCreate);
  });
  ClickControl(form_->bbtStartupAdd);
  EXPECT_EQ(nullptr, fmStartupCreateDialog);

  const std::string linkPath = userFolder_ + "\\Monitor Agent.lnk";
  LinkData link;
  ASSERT_TRUE(ReadLink(linkPath, link));
  EXPECT_EQ(Lower(program_), Lower(link.target));
  EXPECT_EQ("Shortcut to " + program_, link.description);
  EXPECT_EQ(Lower(programFolder_), Lower(WithoutTrailingSlash(link.workingFolder)));

  TListItem* row = FindRow("Monitor Agent.lnk", 1);
  ASSERT_NE(nullptr, row);
  EXPECT_TRUE(row->Checked());
  EXPECT_EQ(linkPath, row->SubItems()[0]);
}

TEST_F(StartupCreate, CancelLeavesNoTraceAndRefreshesTheList) {
  ShowStartupPage();
  SetValue(HKEY_CURRENT_USER, kRun, "AddedMeanwhile", StringValue("C:\\m.exe"));
  AnswerNextBox("TfmStartupCreateDialog", VK_ESCAPE, [this](HWND) {
    fmStartupCreateDialog->edFileName.SetText(program_);
    fmStartupCreateDialog->edDisplayName.SetText("Never");
  });
  ClickControl(form_->bbtStartupAdd);
  EXPECT_FALSE(Exists(userFolder_ + "\\Never.lnk"));
  EXPECT_NE(nullptr, FindRow("AddedMeanwhile", 1));
}

TEST_F(StartupCreate, BadEntriesAreWarnedAboutAndCreateNothing) {
  const struct {
    std::string file, name, warning;
    TEdit TfmStartupCreateDialog::*focus;
  } cases[] = {
      {"C:\\nowhere\\x.exe", "X",
       "C:\\nowhere\\x.exe\nFile not found.\nPlease verify the correct path and filename was given.",
       &TfmStartupCreateDialog::edFileName},
      {programFolder_, "X",
       programFolder_ + "\nFile not found.\nPlease verify the correct path and filename was given.",
       &TfmStartupCreateDialog::edFileName},
      {program_, "", "No display name was given.\nPlease give one.", &TfmStartupCreateDialog::edDisplayName},
      {program_, "..\\..\\Escaped", "", &TfmStartupCreateDialog::edDisplayName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " / " + c.name);
    TfmStartupCreateDialog dialog(form_.get());
    dialog.Show();
    dialog.edFileName.SetText(c.file);
    dialog.edDisplayName.SetText(c.name);
    std::string text;
    AnswerSystemBox(&text);
    ClickControl(dialog.bbtCreate);
    WaitFor([&text] { return !text.empty(); });
    if (!c.warning.empty()) {
      EXPECT_EQ(c.warning, text);
    }
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE((dialog.*c.focus).Focused());
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(c.name, dialog.edDisplayName.Text());
  }
  EXPECT_FALSE(Exists(userFolder_ + "\\X.lnk"));
  EXPECT_FALSE(Exists(userFolder_ + "\\..\\..\\Escaped.lnk"));
  EXPECT_FALSE(Exists(userFolder_ + "\\Escaped.lnk"));
}

TEST_F(StartupCreate, ExistingItemOfTheSameNameIsReplacedOnlyWhenConfirmed) {
  WriteFileText(userFolder_ + "\\Mine.lnk", "the user's own link");
  TfmStartupCreateDialog dialog(form_.get());
  dialog.Show();
  for (WORD key : {WORD(VK_ESCAPE), WORD(VK_RETURN)}) {
    dialog.edFileName.SetText(program_);
    dialog.edDisplayName.SetText("Mine");
    AnswerNextBox("TfmMessageBox", key);
    ClickControl(dialog.bbtCreate);
    if (key == VK_ESCAPE) {
      EXPECT_EQ("the user's own link", ReadFileText(userFolder_ + "\\Mine.lnk"));
      EXPECT_EQ("Mine", dialog.edDisplayName.Text());
    }
  }
  LinkData link;
  ASSERT_TRUE(ReadLink(userFolder_ + "\\Mine.lnk", link));
  EXPECT_EQ(Lower(program_), Lower(link.target));
  EXPECT_EQ("", dialog.edFileName.Text());
}

}  // namespace
}  // namespace startuptest
