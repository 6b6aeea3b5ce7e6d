// The installed-program scan over fixture entries: rows, icons from each
// source, phantoms, the count line, the filter, and that no probed
// uninstaller ever runs.
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "uninstall_fixture.h"

namespace uninstalltest {
namespace {

const char kProductKey[] = "Software\\Classes\\Installer\\Products\\87654321DCBA10FE32547698BADCFE10";
const char kArpCacheKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\KvArpCache";
const wchar_t kWideName[] = L"Kv Caf\u00e9 \u00dcber";

std::string StartMenuFolder() {
  HKEY key;
  char path[MAX_PATH] = "";
  DWORD size = sizeof path;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryValueExA(key, "Start Menu", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
  }
  return path;
}

void MakeShortcut(const std::string& link, const std::string& target) {
  CoInitialize(nullptr);
  IShellLinkA* shellLink = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&shellLink))));
  shellLink->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
  EXPECT_TRUE(SUCCEEDED(file->Save(wide, TRUE))) << link;
  file->Release();
  shellLink->Release();
  CoUninitialize();
}

void SetValue(const char* path, const char* name, DWORD type, const void* data, size_t size) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                           nullptr));
  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
  RegCloseKey(key);
}

class UninstallScan : public UninstallPageTest {
protected:
  void TearDown() override {
    UninstallPageTest::TearDown();
    if (!shortcutFolder_.empty()) {
      for (const char* link : {"\\Kv Shortcut Program.lnk", "\\Kv Skipped Uninstall.lnk"})
        DeleteFileA((shortcutFolder_ + link).c_str());
      RemoveDirectoryA(shortcutFolder_.c_str());
    }
  }
  std::string shortcutFolder_;
};

enum Picture { kOwn, kNone, kPhantom };

TEST_F(UninstallScan, ListsEveryEntryWithItsIconAndMarksPhantoms) {
  const std::string exe = Uninstaller();
  const std::string command = UninstallCommand(0);
  AddEntry("KvReal", {{"DisplayName", "Kv Real Program"}, {"UninstallString", command},
                      {"DisplayVersion", "1.2"}, {"Publisher", "Kv Soft"}, {"DisplayIcon", exe + ",0"}});
  AddEntry("KvNoName", {{"UninstallString", command}, {"DisplayIcon", exe + ",x"}});
  AddEntry("KvBadIndex", {{"DisplayName", "Kv Bad Index"}, {"UninstallString", command}, {"DisplayIcon", exe + ",5"}});
  AddEntry("KvMissing", {{"DisplayName", "Kv Missing Exe"}, {"UninstallString", "C:\\nowhere\\gone.exe /x"},
                         {"DisplayIcon", exe}});
  AddEntry("KvZero", {{"DisplayName", "Kv Zero"}, {"UninstallString", "0"}});
  AddEntry("KvNameOnly", {{"DisplayName", "Kv Name Only"}, {"DisplayVersion", "3.0"}, {"Publisher", "Ghost Inc"}});
  AddEntry("KvNothing", {{"Publisher", "Nobody"}});
  AddEntry("{12345678-ABCD-EF01-2345-6789ABCDEF01}",
           {{"DisplayName", "Kv Installer Product"}, {"UninstallString", command}});
  SetValue(kProductKey, "ProductIcon", REG_SZ, exe.c_str(), exe.size() + 1);
  AddEntry("KvArpCache", {{"DisplayName", "Kv Cached"}, {"UninstallString", command}});
  std::string cache(28, '\x11');
  for (char c : exe + ",0") cache += {c, '\0'};  // UTF-16LE, ASCII path
  cache += std::string(2, '\0');
  SetValue(kArpCacheKey, "SlowInfoCache", REG_BINARY, cache.data(), cache.size());
  AddEntry("KvUnbalanced", {{"DisplayName", "Kv Unbalanced"}, {"UninstallString", "\"" + exe + " 0"}});
  AddEntry("KvWide", {{"UninstallString", command}});
  {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\KvWide").c_str(), 0,
                                           KEY_ALL_ACCESS, &key));
    RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kWideName), sizeof kWideName);
    RegCloseKey(key);
  }
  // Start-menu shortcuts: "\" and "/" in a display name stand for spaces;
  // shortcuts whose names hold "Uninstall" are never taken.
  shortcutFolder_ = StartMenuFolder() + "\\Kv Test";
  ASSERT_GT(shortcutFolder_.size(), 8u);
  CreateDirectoryA(StartMenuFolder().c_str(), nullptr);
  CreateDirectoryA(shortcutFolder_.c_str(), nullptr);
  MakeShortcut(shortcutFolder_ + "\\Kv Shortcut Program.lnk", exe);
  MakeShortcut(shortcutFolder_ + "\\Kv Skipped Uninstall.lnk", exe);
  AddEntry("KvShortcut", {{"DisplayName", "Kv Shortcut/Program"}, {"UninstallString", command}});
  AddEntry("KvSkipped", {{"DisplayName", "Kv Skipped"}, {"UninstallString", command}});

  OpenMainForm();

  char wideAsAnsi[64] = "";
  WideCharToMultiByte(CP_ACP, 0, kWideName, -1, wideAsAnsi, sizeof wideAsAnsi, nullptr, nullptr);
  const struct {
    std::string caption;
    Picture picture;
    std::string version, publisher;
  } rows[] = {
      {"Kv Real Program", kOwn, "1.2", "Kv Soft"},
      {"KvNoName", kOwn, "", ""},
      {"Kv Bad Index", kNone, "", ""},
      {"Kv Missing Exe", kPhantom, "", ""},
      {"Kv Zero", kPhantom, "", ""},
      {"Kv Name Only", kPhantom, "3.0", "Ghost Inc"},
      {"Kv Installer Product", kOwn, "", ""},
      {"Kv Cached", kOwn, "", ""},
      {"Kv Unbalanced", kPhantom, "", ""},
      {wideAsAnsi, kNone, "", ""},
      {"Kv Shortcut/Program", kOwn, "", ""},
      {"Kv Skipped", kNone, "", ""},
  };
  std::vector<int> ownIcons;
  for (const auto& r : rows) {
    TListItem* row = Row(r.caption);
    ASSERT_NE(nullptr, row) << r.caption;
    EXPECT_EQ((std::vector<std::string>{r.version, r.publisher}), row->SubItems()) << r.caption;
    switch (r.picture) {
      case kOwn:
        EXPECT_GE(row->ImageIndex(), 2) << r.caption;
        ownIcons.push_back(row->ImageIndex());
        break;
      case kNone: EXPECT_EQ(0, row->ImageIndex()) << r.caption; break;
      case kPhantom: EXPECT_EQ(1, row->ImageIndex()) << r.caption; break;
    }
  }
  EXPECT_EQ(nullptr, Row("KvNothing"));
  EXPECT_EQ(12, form_->lvUninstall.ItemCount());
  EXPECT_EQ(" You have 12 installed programs, whom 4 are 'phantom' programs!", form_->lUninstallNumber.Caption());
  // One picture of each list per found icon, after the two stock pictures.
  std::sort(ownIcons.begin(), ownIcons.end());
  EXPECT_EQ((std::vector<int>{2, 3, 4, 5, 6}), ownIcons);
  EXPECT_EQ(7, form_->ilUninstallLargeIcons.Count());
  EXPECT_EQ(7, form_->ilUninstallSmallIcons.Count());

  const std::vector<std::string> captions = Captions();
  EXPECT_TRUE(std::is_sorted(captions.begin(), captions.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpA(a.c_str(), b.c_str()) < 0;
  }));
  EXPECT_TRUE(NotedRuns().empty()) << "a probed uninstaller ran: " << NotedRuns().front();
  EXPECT_FALSE(form_->plWait.Visible());
  EXPECT_TRUE(form_->lvUninstall.Visible());
  EXPECT_EQ("\n\n\n\n\nPlease wait while the program is\nchecking your installed programs!", form_->lWait.Caption());
}

TEST_F(UninstallScan, AnEmptyKeyGivesAnEmptyList) {
  OpenMainForm();
  EXPECT_EQ(0, form_->lvUninstall.ItemCount());
  EXPECT_EQ(" You have 0 installed programs, whom 0 are 'phantom' programs!", form_->lUninstallNumber.Caption());
  EXPECT_EQ(2, form_->ilUninstallLargeIcons.Count());
}

TEST_F(UninstallScan, FilterRescansOnEveryKeystrokeAndRefreshClearsIt) {
  AddEntry("KvOffice", {{"DisplayName", "Kv Office Suite"}, {"UninstallString", UninstallCommand(0)}});
  AddEntry("KvPayoff", {{"DisplayName", "Kv PayOFF"}, {"UninstallString", "C:\\nowhere\\gone.exe"}});
  AddEntry("KvOther", {{"DisplayName", "Kv Other"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();
  ASSERT_EQ(3, form_->lvUninstall.ItemCount());

  HWND filter = form_->edUninstallFilter.Handle();
  PressKey(filter, 'O');
  EXPECT_EQ(3, form_->lvUninstall.ItemCount());  // "o" is in every name
  PressKey(filter, 'F');
  PressKey(filter, 'F');
  EXPECT_EQ("off", form_->edUninstallFilter.Text());
  EXPECT_EQ((std::vector<std::string>{"Kv Office Suite", "Kv PayOFF"}), Captions());
  EXPECT_EQ(" You have 2 installed programs, whom 1 are 'phantom' programs!", form_->lUninstallNumber.Caption());

  PressKey(filter, VK_RETURN);
  EXPECT_TRUE(form_->lvUninstall.Focused());
  ASSERT_NE(nullptr, form_->lvUninstall.Selected());
  EXPECT_EQ("Kv Office Suite", form_->lvUninstall.Selected()->Caption());

  // A new entry shows up on Refresh, which also clears the filter.
  AddEntry("KvLater", {{"DisplayName", "Kv Later"}, {"DisplayVersion", "9"}});
  ClickControl(form_->bbtUninstallRefresh);
  EXPECT_EQ("", form_->edUninstallFilter.Text());
  EXPECT_EQ(4, form_->lvUninstall.ItemCount());
  EXPECT_EQ(" You have 4 installed programs, whom 2 are 'phantom' programs!", form_->lUninstallNumber.Caption());
  EXPECT_TRUE(NotedRuns().empty());
}

TEST_F(UninstallScan, LeavesA16BitSubsystemItDidNotStartAlone) {
  // Only the 16-bit subsystems that the probes leave behind are ended.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string ntvdm = std::string(temp) + "ntvdm.exe";
  ASSERT_TRUE(CopyFileA(Uninstaller().c_str(), ntvdm.c_str(), FALSE));
  std::string commandLine = "\"" + ntvdm + "\" wait";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  AddEntry("KvReal", {{"DisplayName", "Kv Real Program"}, {"UninstallString", UninstallCommand(0)}});
  OpenMainForm();
  EXPECT_EQ(1, form_->lvUninstall.ItemCount());
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(pi.hProcess, 0)) << "the user's ntvdm.exe was ended";
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  DeleteFileA(ntvdm.c_str());
}

}  // namespace
}  // namespace uninstalltest
