#include "startup_test_support.h"

namespace startuptest {

const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunDisabled[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run-";
const char kRunServices[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kRunServicesDisabled[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices-";

Value StringValue(const std::string& text, DWORD type) { return {type, text + std::string(1, '\0')}; }

void SetValue(HKEY root, const char* key, const std::string& name, const Value& value) {
  HKEY k;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(k, name.c_str(), 0, value.type,
                                          reinterpret_cast<const BYTE*>(value.data.data()),
                                          static_cast<DWORD>(value.data.size())));
  RegCloseKey(k);
}

bool GetValue(HKEY root, const char* key, const std::string& name, Value& value) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG rc = RegQueryValueExA(k, name.c_str(), nullptr, &value.type, nullptr, &size);
  if (rc == ERROR_SUCCESS) {
    value.data.assign(size, '\0');
    rc = RegQueryValueExA(k, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(&value.data[0]), &size);
    value.data.resize(size);
  }
  RegCloseKey(k);
  return rc == ERROR_SUCCESS;
}

bool HasValue(HKEY root, const char* key, const std::string& name) {
  Value v;
  return GetValue(root, key, name, v);
}

std::vector<std::string> ValueNames(HKEY root, const char* key) {
  std::vector<std::string> names;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof name;
    if (RegEnumValueA(k, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, len);
  }
  RegCloseKey(k);
  return names;
}

void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadFileText(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string text(GetFileSize(h, nullptr), '\0');
  DWORD read = 0;
  if (!text.empty()) ReadFile(h, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(h);
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::string ShellFolder(HKEY root, const char* value) {
  HKEY k;
  if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0, KEY_READ,
                    &k) != ERROR_SUCCESS)
    return {};
  char data[MAX_PATH] = {};
  DWORD size = sizeof data - 1;
  RegQueryValueExA(k, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(k);
  return data;
}

HeldFile::HeldFile(const std::string& path)
    : h_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
  EXPECT_NE(INVALID_HANDLE_VALUE, h_) << path;
}
HeldFile::~HeldFile() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

std::vector<Row> Rows(TListView& list) {
  std::vector<Row> rows;
  for (int i = 0; i < list.ItemCount(); ++i) {
    TListItem* item = list.Item(i);
    auto* entry = dynamic_cast<TPStartupEntry*>(static_cast<TObject*>(item->Data()));
    rows.push_back({item->Caption(), item->SubItems().empty() ? "" : item->SubItems()[0], item->Checked(),
                    entry ? entry->Active() : -1, entry ? entry->Location() : -1});
  }
  return rows;
}

TListItem* FindRow(TListView& list, const std::string& caption, int active) {
  for (int i = 0; i < list.ItemCount(); ++i) {
    TListItem* item = list.Item(i);
    auto* entry = dynamic_cast<TPStartupEntry*>(static_cast<TObject*>(item->Data()));
    if (item->Caption() == caption && entry && entry->Active() == active) return item;
  }
  return nullptr;
}

namespace {

// Separate from AnswerNextBox, so that a system box can follow the
// program's own box within one action.
struct SystemBoxAnswer {
  std::string* text;
  int ticks;
  UINT_PTR timer;
};
SystemBoxAnswer* systemBoxAnswer = nullptr;

void CALLBACK SystemBoxTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!systemBoxAnswer) return;
  HWND box = FindWindowA("#32770", nullptr);
  if (box && IsWindowVisible(box)) {
    char buffer[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    if (systemBoxAnswer->text) *systemBoxAnswer->text = buffer;
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
  } else if (++systemBoxAnswer->ticks <= 500) {
    return;
  } else {
    ADD_FAILURE() << "no system message box appeared";
  }
  KillTimer(nullptr, systemBoxAnswer->timer);
  delete systemBoxAnswer;
  systemBoxAnswer = nullptr;
}

}  // namespace

void AnswerSystemBox(std::string* text) {
  if (systemBoxAnswer) KillTimer(nullptr, systemBoxAnswer->timer);
  delete systemBoxAnswer;
  systemBoxAnswer = new SystemBoxAnswer{text, 0, 0};
  systemBoxAnswer->timer = SetTimer(nullptr, 0, 10, &SystemBoxTick);
}

void ClickInBox(HWND box, int x, int y) {
  PostMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

namespace {

void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName, path = folder + "\\" + name;
    if (name == "." || name == "..") continue;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      EmptyFolder(path);
      RemoveDirectoryA(path.c_str());
    } else {
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

std::string Sibling(const std::string& folder) {
  return folder.substr(0, folder.find_last_of('\\') + 1) + "Disabled Startup Items";
}

}  // namespace

void StartupPageTest::SetUp() {
  MainFormTest::SetUp();
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const char* key : {kRun, kRunDisabled, kRunServices, kRunServicesDisabled}) RegDeleteKeyA(root, key);
  userFolder_ = ShellFolder(HKEY_CURRENT_USER, "Startup");
  commonFolder_ = ShellFolder(HKEY_LOCAL_MACHINE, "Common Startup");
  ASSERT_FALSE(userFolder_.empty());
  ASSERT_FALSE(commonFolder_.empty());
  userDisabled_ = Sibling(userFolder_);
  commonDisabled_ = Sibling(commonFolder_);
  for (const std::string* folder : {&userFolder_, &commonFolder_}) {
    CreateDirectoryA(folder->c_str(), nullptr);
    EmptyFolder(*folder);
  }
  for (const std::string* folder : {&userDisabled_, &commonDisabled_}) {
    SetFileAttributesA(folder->c_str(), FILE_ATTRIBUTE_NORMAL);
    EmptyFolder(*folder);
    RemoveDirectoryA(folder->c_str());
  }
  OpenMainForm();
}

void StartupPageTest::ShowStartupPage() {
  ClickControl(form_->bbtStartupIcon);
  ASSERT_EQ(pgStartup, form_->FCurrentPage);
}

}  // namespace startuptest
