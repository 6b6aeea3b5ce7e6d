// Switching items off and on again, name collisions between the stores,
// failures that must leave the item where it was, removing, and the
// question when the page is left with unapplied ticks.
#include "startup_test_support.h"

#include "kelvolite/controls/message_box.h"

namespace startuptest {
namespace {

class StartupApply : public StartupPageTest {
protected:
  void SetTicks(std::initializer_list<std::pair<const char*, int>> rows, bool checked) {
    for (const auto& r : rows) {
      TListItem* item = FindRow(r.first, r.second);
      ASSERT_NE(nullptr, item) << r.first;
      item->SetChecked(checked);
    }
  }
  void Apply() { ClickControl(form_->bbtStartupApply); }
};

TEST_F(StartupApply, DisableThenEnableMovesEveryKindOfItemBackExactly) {
  const Value agent = StringValue("%ProgramFiles%\\Agent\\agent.exe /tray", REG_EXPAND_SZ);
  const Value binary = {REG_BINARY, std::string("\x01\x00\xff", 3)};
  SetValue(HKEY_LOCAL_MACHINE, kRun, "Agent", agent);
  SetValue(HKEY_CURRENT_USER, kRun, "Odd", binary);
  const std::string tool = std::string("link\0bytes\x7f", 11);
  WriteFileText(userFolder_ + "\\Tool.lnk", tool);
  SetFileAttributesA((userFolder_ + "\\Tool.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFileText(commonFolder_ + "\\Common.lnk", "common");
  ShowStartupPage();

  SetTicks({{"Agent", 1}, {"Odd", 1}, {"Tool.lnk", 1}, {"Common.lnk", 1}}, false);
  EXPECT_TRUE(form_->StartupChangesPending());
  Apply();
  Value v;
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Agent"));
  ASSERT_TRUE(GetValue(HKEY_LOCAL_MACHINE, kRunDisabled, "Agent", v));
  EXPECT_EQ(agent, v);
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRunDisabled, "Odd", v));
  EXPECT_EQ(binary, v);
  EXPECT_FALSE(Exists(userFolder_ + "\\Tool.lnk"));
  EXPECT_EQ(tool, ReadFileText(userDisabled_ + "\\Tool.lnk"));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY), Attributes(userDisabled_ + "\\Tool.lnk") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ("common", ReadFileText(commonDisabled_ + "\\Common.lnk"));
  for (const std::string& folder : {userDisabled_, commonDisabled_})
    EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN),
              Attributes(folder) & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))
        << folder;
  EXPECT_FALSE(form_->StartupChangesPending());
  TListItem* row = FindRow("Tool.lnk", 0);
  ASSERT_NE(nullptr, row);
  EXPECT_FALSE(row->Checked());
  EXPECT_EQ(userDisabled_ + "\\Tool.lnk", row->SubItems()[0]);
  // The disabled stores in their order: the user's key, then the machine's.
  ASSERT_EQ(4u, Rows().size());
  EXPECT_EQ("Odd", Rows()[0].caption);
  EXPECT_EQ("Agent", Rows()[1].caption);
  EXPECT_EQ(slMachineRun, Rows()[1].location);

  SetTicks({{"Agent", 0}, {"Odd", 0}, {"Tool.lnk", 0}, {"Common.lnk", 0}}, true);
  Apply();
  ASSERT_TRUE(GetValue(HKEY_LOCAL_MACHINE, kRun, "Agent", v));
  EXPECT_EQ(agent, v);
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRun, "Odd", v));
  EXPECT_EQ(binary, v);
  EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kRunDisabled).empty());
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kRunDisabled).empty());
  EXPECT_EQ(tool, ReadFileText(userFolder_ + "\\Tool.lnk"));
  EXPECT_EQ("common", ReadFileText(commonFolder_ + "\\Common.lnk"));
  EXPECT_FALSE(Exists(userDisabled_ + "\\Tool.lnk"));
  EXPECT_FALSE(Exists(commonDisabled_ + "\\Common.lnk"));
  for (const Row& r : Rows()) EXPECT_TRUE(r.checked && r.active == 1) << r.caption;
}

TEST_F(StartupApply, RunServicesMoveOnlyInThe9xBuild) {
  if (kvtest::PersonaFamily() != kvtest::Family::Win9x) GTEST_SKIP() << "no RunServices keys on NT";
  SetValue(HKEY_LOCAL_MACHINE, kRunServices, "Svc", StringValue("C:\\svc.exe"));
  ShowStartupPage();
  SetTicks({{"Svc", 1}}, false);
  Apply();
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRunServices, "Svc"));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRunServicesDisabled, "Svc"));
  TListItem* row = FindRow("Svc", 0);
  ASSERT_NE(nullptr, row);
  EXPECT_FALSE(row->Checked());
}

TEST_F(StartupApply, NameTakenInTheOtherStoreKeepsBothItems) {
  SetValue(HKEY_CURRENT_USER, kRun, "Tool", StringValue("C:\\new.exe"));
  SetValue(HKEY_CURRENT_USER, kRunDisabled, "Tool", StringValue("C:\\old.exe"));
  SetValue(HKEY_CURRENT_USER, kRun, "Same", StringValue("C:\\same.exe"));
  SetValue(HKEY_CURRENT_USER, kRunDisabled, "Same", StringValue("C:\\same.exe"));
  WriteFileText(userFolder_ + "\\App.lnk", "active copy");
  CreateDirectoryA(userDisabled_.c_str(), nullptr);
  WriteFileText(userDisabled_ + "\\App.lnk", "disabled copy");
  WriteFileText(userDisabled_ + "\\App (2).lnk", "second disabled copy");
  ShowStartupPage();

  SetTicks({{"Tool", 1}, {"Same", 1}, {"App.lnk", 1}}, false);
  Apply();
  Value v;
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kRun).empty());
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRunDisabled, "Tool", v));
  EXPECT_EQ(StringValue("C:\\old.exe"), v);
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRunDisabled, "Tool (2)", v));
  EXPECT_EQ(StringValue("C:\\new.exe"), v);
  // An identical value is merged rather than kept twice.
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRunDisabled, "Same (2)"));
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRunDisabled, "Same", v));
  EXPECT_EQ(StringValue("C:\\same.exe"), v);
  EXPECT_FALSE(Exists(userFolder_ + "\\App.lnk"));
  EXPECT_EQ("disabled copy", ReadFileText(userDisabled_ + "\\App.lnk"));
  EXPECT_EQ("second disabled copy", ReadFileText(userDisabled_ + "\\App (2).lnk"));
  EXPECT_EQ("active copy", ReadFileText(userDisabled_ + "\\App (3).lnk"));

  // And back: the first enabled takes the free name, the next one is numbered.
  SetValue(HKEY_CURRENT_USER, kRun, "Tool", StringValue("C:\\third.exe"));
  form_->bbtStartupRefreshClick(nullptr);
  SetTicks({{"Tool", 0}}, true);
  Apply();
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRun, "Tool", v));
  EXPECT_EQ(StringValue("C:\\third.exe"), v);
  ASSERT_TRUE(GetValue(HKEY_CURRENT_USER, kRun, "Tool (2)", v));
  EXPECT_EQ(StringValue("C:\\old.exe"), v);
  EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRunDisabled, "Tool"));
}

TEST_F(StartupApply, FileInUseStaysWhereItWasAndIsReported) {
  WriteFileText(userFolder_ + "\\Busy.lnk", "busy");
  SetValue(HKEY_CURRENT_USER, kRun, "Later", StringValue("C:\\later.exe"));
  ShowStartupPage();
  SetTicks({{"Busy.lnk", 1}, {"Later", 1}}, false);
  std::string text;
  {
    HeldFile held(userFolder_ + "\\Busy.lnk");
    AnswerSystemBox(&text);
    Apply();
  }
  EXPECT_FALSE(text.empty());
  EXPECT_EQ("busy", ReadFileText(userFolder_ + "\\Busy.lnk"));
  EXPECT_FALSE(Exists(userDisabled_ + "\\Busy.lnk"));
  // The rows after the failed one are still applied.
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRunDisabled, "Later"));
  TListItem* row = FindRow("Busy.lnk", 1);
  ASSERT_NE(nullptr, row);
  EXPECT_TRUE(row->Checked());
}

TEST_F(StartupApply, TickedAgainBeforeApplyTouchesNothing) {
  SetValue(HKEY_CURRENT_USER, kRun, "Tool", StringValue("C:\\t.exe"));
  ShowStartupPage();
  SetTicks({{"Tool", 1}}, false);
  SetTicks({{"Tool", 1}}, true);
  EXPECT_FALSE(form_->StartupChangesPending());
  Apply();
  EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRun, "Tool"));
  EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kRunDisabled).empty());
}

class StartupRemove : public StartupApply {
protected:
  // Selects the row and presses Remove, answering the question with `key`.
  void Remove(const char* caption, int active, WORD key) {
    TListItem* item = FindRow(caption, active);
    ASSERT_NE(nullptr, item) << caption;
    item->SetSelected(true);
    AnswerNextBox("TfmMessageBox", key, [this](HWND) {
      ASSERT_NE(nullptr, fmMessageBox);
      question_ = fmMessageBox->lMessage.Caption();
      caption_ = fmMessageBox->Caption();
    });
    ClickControl(form_->bbtStartupRemove);
  }
  std::string question_, caption_;
};

TEST_F(StartupRemove, AnswerDecidesAndTheListIsRebuiltEitherWay) {
  const struct {
    WORD key;
    bool removed;
  } cases[] = {{VK_ESCAPE, false}, {VK_RETURN, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.removed ? "yes" : "no");
    SetValue(HKEY_CURRENT_USER, kRun, "Victim", StringValue("C:\\v.exe"));
    SetValue(HKEY_CURRENT_USER, kRun, "Other", StringValue("C:\\o.exe"));
    form_->bbtStartupRefreshClick(nullptr);
    if (form_->FCurrentPage != pgStartup) ShowStartupPage();
    SetTicks({{"Other", 1}}, false);
    Remove("Victim", 1, c.key);
    EXPECT_EQ("Confirm", caption_);
    EXPECT_NE(std::string::npos, question_.find("Do you really want to delete \nVictim from Startup?"));
    EXPECT_EQ(!c.removed, HasValue(HKEY_CURRENT_USER, kRun, "Victim"));
    // The unapplied untick of the other row went with the rebuild.
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRun, "Other"));
    EXPECT_FALSE(form_->StartupChangesPending());
    ASSERT_NE(nullptr, form_->lvStartup.Selected());
    EXPECT_EQ(0, form_->lvStartup.Selected()->Index());
  }
}

TEST_F(StartupRemove, UsesTheStoreTheItemWasFoundIn) {
  SetValue(HKEY_LOCAL_MACHINE, kRun, "Dup", StringValue("C:\\a.exe"));
  SetValue(HKEY_LOCAL_MACHINE, kRunDisabled, "Dup", StringValue("C:\\b.exe"));
  CreateDirectoryA(userDisabled_.c_str(), nullptr);
  WriteFileText(userDisabled_ + "\\Off.lnk", "off");
  ShowStartupPage();
  // Unticked but not applied: still the active key's value.
  SetTicks({{"Dup", 1}}, false);
  Remove("Dup", 1, VK_RETURN);
  EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRun, "Dup"));
  EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRunDisabled, "Dup"));
  Remove("Off.lnk", 0, VK_RETURN);
  EXPECT_FALSE(Exists(userDisabled_ + "\\Off.lnk"));
}

TEST_F(StartupRemove, FileInUseIsReportedAndKept) {
  WriteFileText(userFolder_ + "\\Busy.lnk", "busy");
  ShowStartupPage();
  std::string text;
  {
    HeldFile held(userFolder_ + "\\Busy.lnk");
    AnswerNextBox("TfmMessageBox", VK_RETURN);
    AnswerSystemBox(&text);
    FindRow("Busy.lnk", 1)->SetSelected(true);
    ClickControl(form_->bbtStartupRemove);
  }
  EXPECT_FALSE(text.empty());
  EXPECT_EQ("busy", ReadFileText(userFolder_ + "\\Busy.lnk"));
  EXPECT_NE(nullptr, FindRow("Busy.lnk", 1));
}

class StartupLeave : public StartupApply {};

TEST_F(StartupLeave, PendingTicksAskBeforeThePageChanges) {
  // The box's "No" button in its yes/no/cancel layout.
  auto clickNo = [](HWND box) { ClickInBox(box, 154, 112); };
  const struct {
    const char* answer;
    WORD key;
    std::function<void(HWND)> onShown;
    bool applied, left;
  } cases[] = {
      {"cancel", VK_ESCAPE, nullptr, false, false},
      {"no", 0, clickNo, false, true},
      {"yes", VK_RETURN, nullptr, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    SetValue(HKEY_CURRENT_USER, kRun, "Tool", StringValue("C:\\t.exe"));
    RegDeleteKeyA(HKEY_CURRENT_USER, kRunDisabled);
    if (form_->FCurrentPage != pgStartup) ShowStartupPage();
    SetTicks({{"Tool", 1}}, false);
    std::string question;
    AnswerNextBox("TfmMessageBox", c.key, [&question, &c](HWND box) {
      question = fmMessageBox->lMessage.Caption() + "|" + fmMessageBox->Caption();
      if (c.onShown) c.onShown(box);
    });
    ClickControl(form_->bbtPrivacyIcon);
    EXPECT_NE(std::string::npos, question.find("Do you want save the modifications?|Confirmation"));
    EXPECT_EQ(c.applied, HasValue(HKEY_CURRENT_USER, kRunDisabled, "Tool"));
    EXPECT_EQ(!c.applied, HasValue(HKEY_CURRENT_USER, kRun, "Tool"));
    EXPECT_EQ(c.left ? pgPrivacy : pgStartup, form_->FCurrentPage);
    if (!c.left) {
      EXPECT_TRUE(form_->bbtStartupIcon.Down());
      EXPECT_TRUE(form_->plStartup.Visible());
      EXPECT_TRUE(form_->StartupChangesPending());
    }
  }
}

}  // namespace
}  // namespace startuptest
