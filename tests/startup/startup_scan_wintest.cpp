// The startup list as the page shows it: every store of both roots in its
// order, ticks for the active stores, the disabled folders, the filter.
#include "startup_test_support.h"

namespace startuptest {
namespace {

#ifdef KV_BUILD_NT
constexpr bool kHasRunServices = false;
#else
constexpr bool kHasRunServices = true;
#endif

class StartupScan : public StartupPageTest {};

TEST_F(StartupScan, ListsEveryStoreInOrderWithTicksAndLocations) {
  // Each build runs on its own family only.
  EXPECT_EQ(kHasRunServices, kvtest::PersonaFamily() == kvtest::Family::Win9x);
  SetValue(HKEY_CURRENT_USER, kRun, "UserApp", StringValue("%SystemRoot%\\u.exe /q", REG_EXPAND_SZ));
  SetValue(HKEY_LOCAL_MACHINE, kRun, "MachineApp", StringValue("C:\\m.exe"));
  SetValue(HKEY_CURRENT_USER, kRunServices, "UserSvc", StringValue("C:\\us.exe"));
  SetValue(HKEY_LOCAL_MACHINE, kRunServices, "MachineSvc", StringValue("C:\\ms.exe"));
  SetValue(HKEY_CURRENT_USER, kRunDisabled, "UserApp", StringValue("C:\\old-u.exe"));
  SetValue(HKEY_LOCAL_MACHINE, kRunDisabled, "MachineOld", StringValue("C:\\mo.exe"));
  SetValue(HKEY_CURRENT_USER, kRunServicesDisabled, "OldSvc", StringValue("C:\\os.exe"));
  WriteFileText(userFolder_ + "\\Tool.lnk", "tool");
  WriteFileText(userFolder_ + "\\desktop.ini", "hidden");
  SetFileAttributesA((userFolder_ + "\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  CreateDirectoryA((userFolder_ + "\\Sub").c_str(), nullptr);
  WriteFileText(commonFolder_ + "\\Common.lnk", "common");
  CreateDirectoryA(userDisabled_.c_str(), nullptr);
  WriteFileText(userDisabled_ + "\\Off.lnk", "off");
  CreateDirectoryA(commonDisabled_.c_str(), nullptr);
  WriteFileText(commonDisabled_ + "\\CommonOff.lnk", "common off");

  ShowStartupPage();

  std::vector<Row> expected = {
      {"UserApp", "%SystemRoot%\\u.exe /q", true, 1, slUserRun},
      {"MachineApp", "C:\\m.exe", true, 1, slMachineRun},
  };
  if (kHasRunServices) {
    expected.push_back({"UserSvc", "C:\\us.exe", true, 1, slUserRunServices});
    expected.push_back({"MachineSvc", "C:\\ms.exe", true, 1, slMachineRunServices});
  }
  expected.push_back({"Tool.lnk", userFolder_ + "\\Tool.lnk", true, 1, slUserStartupFolder});
  expected.push_back({"Common.lnk", commonFolder_ + "\\Common.lnk", true, 1, slCommonStartupFolder});
  expected.push_back({"UserApp", "C:\\old-u.exe", false, 0, slUserRun});
  expected.push_back({"MachineOld", "C:\\mo.exe", false, 0, slMachineRun});
  if (kHasRunServices) expected.push_back({"OldSvc", "C:\\os.exe", false, 0, slUserRunServices});
  expected.push_back({"Off.lnk", userDisabled_ + "\\Off.lnk", false, 0, slUserStartupFolder});
  expected.push_back({"CommonOff.lnk", commonDisabled_ + "\\CommonOff.lnk", false, 0, slCommonStartupFolder});

  std::vector<Row> rows = Rows();
  ASSERT_EQ(expected.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i) + " " + rows[i].caption);
    EXPECT_EQ(expected[i].caption, rows[i].caption);
    EXPECT_EQ(expected[i].path, rows[i].path);
    EXPECT_EQ(expected[i].checked, rows[i].checked);
    EXPECT_EQ(expected[i].active, rows[i].active);
    EXPECT_EQ(expected[i].location, rows[i].location);
  }
  EXPECT_EQ(userFolder_, form_->FStartupFolder);
  EXPECT_EQ(commonFolder_, form_->FCommonStartupFolder);
  EXPECT_EQ(userDisabled_, form_->FDisabledStartupFolder);
  EXPECT_EQ(commonDisabled_, form_->FCommonDisabledStartupFolder);
  EXPECT_TRUE(form_->lvStartup.Visible());
  EXPECT_TRUE(form_->lvStartup.Focused());
  ASSERT_NE(nullptr, form_->lvStartup.Selected());
  EXPECT_EQ(0, form_->lvStartup.Selected()->Index());
  EXPECT_FALSE(form_->StartupChangesPending());
}

TEST_F(StartupScan, MissingDisabledFoldersAreCreatedHiddenAndListingGoesOn) {
  SetValue(HKEY_LOCAL_MACHINE, kRunDisabled, "MachineOld", StringValue("C:\\mo.exe"));
  ShowStartupPage();
  for (const std::string& folder : {userDisabled_, commonDisabled_}) {
    SCOPED_TRACE(folder);
    DWORD attributes = Attributes(folder);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN,
              attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
  }
  ASSERT_EQ(1u, Rows().size());
  EXPECT_EQ("MachineOld", Rows()[0].caption);
}

TEST_F(StartupScan, MissingStartupFolderStillListsTheDisabledStores) {
  ASSERT_TRUE(RemoveDirectoryA(commonFolder_.c_str()));
  SetValue(HKEY_CURRENT_USER, kRunDisabled, "Old", StringValue("C:\\o.exe"));
  CreateDirectoryA(userDisabled_.c_str(), nullptr);
  WriteFileText(userDisabled_ + "\\Off.lnk", "off");
  ShowStartupPage();
  std::vector<Row> rows = Rows();
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ("Old", rows[0].caption);
  EXPECT_EQ("Off.lnk", rows[1].caption);
  // Nothing is made beside a Startup folder that is not there.
  EXPECT_FALSE(Exists(commonDisabled_));
  CreateDirectoryA(commonFolder_.c_str(), nullptr);
}

TEST_F(StartupScan, FilterMatchesNamesWithoutRegardToCase) {
  SetValue(HKEY_CURRENT_USER, kRun, "NetMonitor", StringValue("C:\\n.exe"));
  SetValue(HKEY_CURRENT_USER, kRun, "Updater", StringValue("C:\\u.exe"));
  WriteFileText(commonFolder_ + "\\Monday.lnk", "m");
  ShowStartupPage();
  ASSERT_EQ(3u, Rows().size());
  for (const char* filter : {"mon", "MON"}) {
    SCOPED_TRACE(filter);
    form_->edStartupFilter.SetText(filter);
    std::vector<Row> rows = Rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("NetMonitor", rows[0].caption);
    EXPECT_EQ("Monday.lnk", rows[1].caption);
    EXPECT_EQ(slCommonStartupFolder, rows[1].location);
    form_->edStartupFilter.SetText("");
  }
  ClickControl(form_->bbtStartupRefresh);
  EXPECT_EQ(3u, Rows().size());
}

}  // namespace
}  // namespace startuptest
