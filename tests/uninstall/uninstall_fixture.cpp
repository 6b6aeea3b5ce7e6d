#include "uninstall_fixture.h"

#include <fstream>

namespace uninstalltest {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::string TestFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Uninstaller() { return TestFolder() + "kv_test_uninstaller.exe"; }

std::string NoteFile() {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "kv_uninstaller_runs.txt";
}

std::vector<std::string> NotedRuns() {
  std::vector<std::string> runs;
  std::ifstream in(NoteFile());
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) runs.push_back(line);
  return runs;
}

std::string UninstallCommand(int code, const std::string& deleteKey, const std::string& program) {
  std::string command = "\"" + program + "\" " + std::to_string(code) + " \"" + NoteFile() + "\"";
  if (!deleteKey.empty()) command += " " + deleteKey;
  return command;
}

void AddEntry(const std::string& keyName, const Values& values) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + keyName).c_str(),
                                           0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  for (const auto& v : values)
    RegSetValueExA(key, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                   static_cast<DWORD>(v.second.size() + 1));
  RegCloseKey(key);
}

bool EntryExists(const std::string& keyName) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + keyName).c_str(), 0, KEY_READ,
                    &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

namespace {

void DeleteSubkeys(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[256];
  for (;;) {
    DWORD len = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteSubkeys(key, name);
    if (RegDeleteKeyA(key, name) != ERROR_SUCCESS) break;
  }
  RegCloseKey(key);
}

}  // namespace

void RemoveAllEntries() {
  DeleteSubkeys(HKEY_LOCAL_MACHINE, kUninstallKey);
  DeleteSubkeys(HKEY_LOCAL_MACHINE, "Software\\Classes\\Installer\\Products");
  DeleteSubkeys(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache");
}

// ------------------------------------------------------------- BoxAnswers

namespace {
BoxAnswers* current = nullptr;
}

BoxAnswers::BoxAnswers(std::vector<WORD> keys) : keys_(std::move(keys)) {
  current = this;
  timer_ = SetTimer(nullptr, 0, 10, &BoxAnswers::Tick);
}

BoxAnswers::~BoxAnswers() {
  KillTimer(nullptr, timer_);
  current = nullptr;
}

void CALLBACK BoxAnswers::Tick(HWND, UINT, UINT_PTR, DWORD) {
  BoxAnswers* self = current;
  if (!self || !fmMessageBox) return;
  HWND box = fmMessageBox->Handle();
  // Each box once: the one answered last may still be closing.
  if (!box || box == self->last_ || !IsWindowVisible(box)) return;
  self->last_ = box;
  self->shown_.push_back({fmMessageBox->Caption(), fmMessageBox->lMessage.Caption()});
  WORD key = VK_ESCAPE;
  if (self->shown_.size() <= self->keys_.size()) key = self->keys_[self->shown_.size() - 1];
  PostMessageA(box, WM_KEYDOWN, key, 0);
}

// ------------------------------------------------------ UninstallPageTest

void UninstallPageTest::SetUp() {
  MainFormTest::SetUp();
  RemoveAllEntries();
  DeleteFileA(NoteFile().c_str());
}

void UninstallPageTest::TearDown() {
  MainFormTest::TearDown();
  RemoveAllEntries();
  DeleteFileA(NoteFile().c_str());
}

TListItem* UninstallPageTest::Row(const std::string& caption) {
  for (int i = 0; i < form_->lvUninstall.ItemCount(); ++i)
    if (form_->lvUninstall.Item(i)->Caption() == caption) return form_->lvUninstall.Item(i);
  return nullptr;
}

std::vector<std::string> UninstallPageTest::Captions() {
  std::vector<std::string> captions;
  for (int i = 0; i < form_->lvUninstall.ItemCount(); ++i) captions.push_back(form_->lvUninstall.Item(i)->Caption());
  return captions;
}

void UninstallPageTest::Select(const std::string& caption) {
  TListItem* row = Row(caption);
  ASSERT_NE(nullptr, row) << caption;
  row->SetSelected(true);
  row->SetFocused();
  Pump();
}

}  // namespace uninstalltest
