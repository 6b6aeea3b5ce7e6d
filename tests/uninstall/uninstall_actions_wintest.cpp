// The uninstall page's actions: running the uninstaller and waiting for it,
// the leftover-entry question, deleting phantom entries, the button and menu
// labels, and the rescan afterwards. Boxes are answered by keys.
#include <algorithm>
#include <memory>

#include "uninstall_fixture.h"

namespace uninstalltest {
namespace {

const char kUnfinished[] =
    "\n\nUninstallation has not been completely finished\n due to a problem or the process has been canceled! "
    "\nClick OK if you want the entry to be deleted";
const char kConfirmDelete[] = "\n\n\nDo you really want to delete \nthe regsitry entry of this program?";
const char kUninstallProblem[] = "\n\nUninstall problem! \nIf you want to delete the entry press OK";
const char kDeleted[] = "\n\nThe Registry Entry has been deleted!";

bool SameBox(const ShownBox& box, const char* caption, const char* text) {
  return box.caption == caption && box.text == text;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
  return s;
}

class UninstallActions : public UninstallPageTest {
protected:
  void ClickUninstall() { ClickControl(form_->bbtUninstall); }
  const std::string& StatusLine() { return form_->lUninstallNumber.Caption(); }
};

TEST_F(UninstallActions, AnUninstallerThatRemovesItsEntryIsFollowedByARescanWithoutQuestions) {
  // Exit codes 0 and 259 (STILL_ACTIVE) alike: the wait ends with the process.
  AddEntry("KvGoes", {{"DisplayName", "Kv Goes"}, {"UninstallString", UninstallCommand(0, "KvGoes")}});
  AddEntry("KvActive", {{"DisplayName", "Kv Active"}, {"UninstallString", UninstallCommand(259, "KvActive")}});
  AddEntry("KvStays", {{"DisplayName", "Kv Stays"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();
  ASSERT_TRUE(NotedRuns().empty());

  BoxAnswers answers({});
  Select("Kv Goes");
  ClickUninstall();
  EXPECT_EQ(1u, NotedRuns().size());
  EXPECT_FALSE(EntryExists("KvGoes"));
  EXPECT_EQ((std::vector<std::string>{"Kv Active", "Kv Stays"}), Captions());
  EXPECT_EQ(" You have 2 installed programs, whom 0 are 'phantom' programs!", StatusLine());
  ASSERT_NE(nullptr, form_->lvUninstall.Selected());
  EXPECT_EQ("Kv Active", form_->lvUninstall.Selected()->Caption()) << "the first row is selected after the rescan";

  // Double click on the row runs it as well.
  RECT icon = {};
  icon.left = LVIR_ICON;
  SendMessageA(form_->lvUninstall.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
  SendMessageA(form_->lvUninstall.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2));
  Pump();
  EXPECT_EQ(2u, NotedRuns().size());
  EXPECT_FALSE(EntryExists("KvActive"));
  EXPECT_EQ((std::vector<std::string>{"Kv Stays"}), Captions());
  EXPECT_TRUE(answers.Shown().empty());
  EXPECT_TRUE(form_->lvUninstall.Focused());
}

TEST_F(UninstallActions, ALeftoverEntryIsKeptOnCancelAndDeletedOnOk) {
  AddEntry("KvStays", {{"DisplayName", "Kv Stays"}, {"UninstallString", UninstallCommand(3)}});
  AddEntry("KvOther", {{"DisplayName", "Kv Other"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();

  {
    BoxAnswers answers({VK_ESCAPE});
    Select("Kv Stays");
    form_->lUninstallNumber.SetCaption("not rescanned");
    ClickUninstall();
    ASSERT_EQ(1u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[0], "Error", kUnfinished)) << answers.Shown()[0].text;
    EXPECT_TRUE(EntryExists("KvStays"));
    EXPECT_EQ("not rescanned", StatusLine());
    EXPECT_EQ(1u, NotedRuns().size());
  }
  {
    BoxAnswers answers({VK_RETURN, VK_RETURN});
    Select("Kv Stays");
    ClickUninstall();
    ASSERT_EQ(2u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[0], "Error", kUnfinished));
    EXPECT_TRUE(SameBox(answers.Shown()[1], "Information", kDeleted)) << answers.Shown()[1].text;
    EXPECT_FALSE(EntryExists("KvStays"));
    EXPECT_TRUE(EntryExists("KvOther"));
    EXPECT_EQ((std::vector<std::string>{"Kv Other"}), Captions());
    EXPECT_EQ(" You have 1 installed programs, whom 0 are 'phantom' programs!", StatusLine());
    EXPECT_EQ(2u, NotedRuns().size());
  }
}

TEST_F(UninstallActions, PhantomRowsTurnTheButtonIntoDeleteEntry) {
  AddEntry("KvGhost", {{"DisplayName", "Kv Ghost"}, {"UninstallString", "C:\\nowhere\\gone.exe"}});
  AddEntry("KvReal", {{"DisplayName", "Kv Real"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();
  const struct {
    const char* row;
    int idle, hover, pressed;
    const char* menu;
  } cases[] = {{"Kv Ghost", 30, 31, 32, "Delete Entry"}, {"Kv Real", 12, 13, 14, "Uninstall"},
               {"Kv Ghost", 30, 31, 32, "Delete Entry"}};
  for (const auto& c : cases) {
    Select(c.row);
    EXPECT_EQ(c.idle, form_->bbtUninstall.ImageIndexIDLE()) << c.row;
    EXPECT_EQ(c.hover, form_->bbtUninstall.ImageIndexUp()) << c.row;
    EXPECT_EQ(c.pressed, form_->bbtUninstall.ImageIndexDown()) << c.row;
    EXPECT_EQ(c.menu, form_->pmiListViewDelete.Caption()) << c.row;
  }

  {
    BoxAnswers answers({VK_ESCAPE});  // No
    ClickUninstall();
    ASSERT_EQ(1u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[0], "Confirm", kConfirmDelete)) << answers.Shown()[0].text;
    EXPECT_TRUE(EntryExists("KvGhost"));
    EXPECT_EQ(2, form_->lvUninstall.ItemCount());
  }
  {
    BoxAnswers answers({VK_RETURN, VK_RETURN});  // Yes, then OK to the notice
    Select("Kv Ghost");
    form_->pmiListViewDelete.Click();
    ASSERT_EQ(2u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[1], "Information", kDeleted));
    EXPECT_FALSE(EntryExists("KvGhost"));
    EXPECT_EQ((std::vector<std::string>{"Kv Real"}), Captions());
    EXPECT_EQ(" You have 1 installed programs, whom 0 are 'phantom' programs!", StatusLine());
  }
  EXPECT_TRUE(NotedRuns().empty()) << "deleting a phantom entry runs nothing";
}

TEST_F(UninstallActions, AnUninstallerThatCannotStartOffersToDeleteTheEntry) {
  // The program was there at the scan and is gone when the user clicks.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string copy = std::string(temp) + "kv_vanishing_uninstaller.exe";
  ASSERT_TRUE(CopyFileA(Uninstaller().c_str(), copy.c_str(), FALSE));
  AddEntry("KvVanishing", {{"DisplayName", "Kv Vanishing"}, {"UninstallString", UninstallCommand(0, "", copy)}});
  OpenMainForm();
  ASSERT_NE(nullptr, Row("Kv Vanishing"));
  EXPECT_NE(1, Row("Kv Vanishing")->ImageIndex());
  ASSERT_TRUE(DeleteFileA(copy.c_str()));

  {
    BoxAnswers answers({VK_ESCAPE});
    Select("Kv Vanishing");
    ClickUninstall();
    ASSERT_EQ(1u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[0], "Error", kUninstallProblem)) << answers.Shown()[0].text;
    EXPECT_TRUE(EntryExists("KvVanishing"));
  }
  {
    BoxAnswers answers({VK_RETURN, VK_RETURN});
    Select("Kv Vanishing");
    ClickUninstall();
    ASSERT_EQ(2u, answers.Shown().size());
    EXPECT_TRUE(SameBox(answers.Shown()[1], "Information", kDeleted));
    EXPECT_FALSE(EntryExists("KvVanishing"));
    EXPECT_EQ(" You have 0 installed programs, whom 0 are 'phantom' programs!", StatusLine());
  }
}

// Answers like a registry without rights to HKLM: Wine lets its one user
// delete any key, whatever the key's security descriptor says.
class RefusingRegistry : public TRegistry {
public:
  bool DeleteKey(const std::string&) override {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
};

// The system's own text for `code`, as the message label shows it.
std::string ShownSystemText(DWORD code) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                 nullptr);
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return "\n\n" + s;
}

TEST_F(UninstallActions, ARefusedDeletionShowsTheSystemsReasonAndKeepsTheRow) {
  AddEntry("KvLocked", {{"DisplayName", "Kv Locked"}, {"UninstallString", "0"}});
  AddEntry("KvLeftover", {{"DisplayName", "Kv Leftover"}, {"UninstallString", UninstallCommand(3)}});
  OpenMainForm();
  form_->FRegistry = std::make_unique<RefusingRegistry>();
  form_->FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  const std::string reason = ShownSystemText(ERROR_ACCESS_DENIED);
  ASSERT_NE("\n\n", reason);

  // A phantom's entry (Yes, then OK) and a leftover after its uninstaller
  // (OK, then OK): both go through the same deletion.
  for (const char* row : {"Kv Locked", "Kv Leftover"}) {
    BoxAnswers answers({VK_RETURN, VK_RETURN});
    Select(row);
    ClickUninstall();
    ASSERT_EQ(2u, answers.Shown().size()) << row;
    EXPECT_TRUE(SameBox(answers.Shown()[1], "Error", reason.c_str())) << row << ": " << answers.Shown()[1].text;
    EXPECT_EQ((std::vector<std::string>{"Kv Leftover", "Kv Locked"}), Captions()) << row;
    EXPECT_EQ(" You have 2 installed programs, whom 1 are 'phantom' programs!", StatusLine()) << row;
  }
  EXPECT_TRUE(EntryExists("KvLocked"));
  EXPECT_TRUE(EntryExists("KvLeftover"));
}

TEST(UninstallRegistry, AFailedKeyDeletionLeavesTheSystemsErrorCode) {
  TRegistry reg;
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  SetLastError(0);
  EXPECT_FALSE(reg.DeleteKey(std::string("\\") + kUninstallKey + "\\KvNeverThere"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
  EXPECT_FALSE(reg.DeleteKey("\\"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError()) << "the root is never deleted";
}

TEST_F(UninstallActions, WithoutASelectionUninstallOnlyFocusesTheList) {
  AddEntry("KvReal", {{"DisplayName", "Kv Real"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();
  ASSERT_NE(nullptr, form_->lvUninstall.Selected());
  form_->lvUninstall.Selected()->SetSelected(false);
  form_->edUninstallFilter.SetFocus();
  form_->pmUninstallListViewPopup(&form_->pmUninstallListView);
  EXPECT_FALSE(form_->pmiListViewDelete.Enabled());

  BoxAnswers answers({});
  ClickUninstall();
  EXPECT_TRUE(form_->lvUninstall.Focused());
  EXPECT_TRUE(answers.Shown().empty());
  EXPECT_TRUE(NotedRuns().empty());
  EXPECT_TRUE(EntryExists("KvReal"));

  Select("Kv Real");
  form_->pmUninstallListViewPopup(&form_->pmUninstallListView);
  EXPECT_TRUE(form_->pmiListViewDelete.Enabled());
}

TEST_F(UninstallActions, AnUnquotedPathWithSpacesRunsTheNamedProgramNotAShorterOne) {
  // The system's own reading of "C:\Program Files\Kv Test\uninst.exe ..."
  // tries "C:\Program.exe" first.
  const std::string folder = "C:\\Program Files\\Kv Test";
  CreateDirectoryA("C:\\Program Files", nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string named = folder + "\\uninst.exe", planted = "C:\\Program.exe";
  ASSERT_TRUE(CopyFileA(Uninstaller().c_str(), named.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(Uninstaller().c_str(), planted.c_str(), FALSE));
  AddEntry("KvUnquoted", {{"DisplayName", "Kv Unquoted"},
                          {"UninstallString", named + " 0 \"" + NoteFile() + "\" KvUnquoted"}});
  OpenMainForm();
  ASSERT_NE(nullptr, Row("Kv Unquoted"));
  EXPECT_NE(1, Row("Kv Unquoted")->ImageIndex());
  EXPECT_TRUE(NotedRuns().empty());

  BoxAnswers answers({});
  Select("Kv Unquoted");
  ClickUninstall();
  ASSERT_EQ(1u, NotedRuns().size());
  EXPECT_EQ(Lower(named), Lower(NotedRuns()[0]));
  EXPECT_FALSE(EntryExists("KvUnquoted"));
  EXPECT_TRUE(answers.Shown().empty());
  DeleteFileA(planted.c_str());
  DeleteFileA(named.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace uninstalltest
