#include "privacy_test_support.h"

#include <algorithm>
#include <cstring>

namespace privacytest {

namespace {
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
}

namespace {
// The Linux environment of this process: Wine keeps HOME and some others
// out of the Windows one, but the process is a Linux process.
std::string UnixVariable(const std::string& name) {
  const std::string block = ReadTextFile("Z:\\proc\\self\\environ");
  const std::string key = name + "=";
  for (std::string::size_type at = 0; at < block.size();) {
    std::string::size_type end = block.find('\0', at);
    if (end == std::string::npos) end = block.size();
    if (block.compare(at, key.size(), key) == 0) return block.substr(at + key.size(), end - at - key.size());
    at = end + 1;
  }
  return "";
}
}  // namespace

std::string UnixHome() { return UnixVariable("HOME"); }

void AssertThrowawayHome() {
  const std::string home = UnixHome();
  const std::string prefix = UnixVariable("WINEPREFIX");
  ASSERT_FALSE(home.empty());
  ASSERT_FALSE(prefix.empty());
  // tests/wine/wine-suite.sh: HOME is "<suite prefix>.home".
  ASSERT_EQ(prefix + ".home", home);
  ASSERT_NE(std::string::npos, home.find("/suites/"));
  // Wine puts the trash under XDG_DATA_HOME when that is set.
  ASSERT_EQ("", UnixVariable("XDG_DATA_HOME"));
}

void WriteTextFile(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

std::string ReadTextFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(h);
  return text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFolders(const std::string& path) {
  for (std::string::size_type i = 3; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    for (const std::string& name : Entries(path)) RemoveTree(path + "\\" + name);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    RemoveDirectoryA(path.c_str());
  else
    DeleteFileA(path.c_str());
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
      names.push_back(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

bool MakeUnixSymlink(const std::string& target, const std::string& link) {
#if defined(__x86_64__)
  using ToUnix = char*(CDECL*)(LPCWSTR);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return false;
  auto unixPath = [toUnix](const std::string& path) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    char* p = toUnix(wide);
    std::string result = p ? p : "";
    if (p) HeapFree(GetProcessHeap(), 0, p);
    return result;
  };
  const std::string unixTarget = unixPath(target);
  // The link does not exist yet: its folder's Unix path plus its name.
  const std::string::size_type slash = link.rfind('\\');
  const std::string unixLink = unixPath(link.substr(0, slash)) + "/" + link.substr(slash + 1);
  if (unixTarget.empty() || unixLink.size() <= link.size() - slash) return false;
  // Wine runs us as a Linux process: symlink(2) directly (x86_64 number 88).
  long result;
  asm volatile("syscall"
               : "=a"(result)
               : "a"(88L), "D"(unixTarget.c_str()), "S"(unixLink.c_str())
               : "rcx", "r11", "memory");
  return result == 0;
#else
  (void)target;
  (void)link;
  return false;
#endif
}

std::vector<std::string> PendingDeletions() {
  std::vector<std::string> sources;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS) return sources;
  DWORD type = 0, size = 0;
  std::vector<char> data;
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    data.resize(size + 2);
    RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                     &size);
  }
  RegCloseKey(key);
  std::vector<std::string> strings;
  for (size_t i = 0; i < size;) {
    std::string s(data.data() + i);
    i += s.size() + 1;
    strings.push_back(s);
  }
  for (size_t i = 0; i + 1 < strings.size(); i += 2) {
    if (!strings[i + 1].empty()) continue;
    std::string source = strings[i];
    if (source.rfind("\\??\\", 0) == 0) source = source.substr(4);
    sources.push_back(source);
  }
  return sources;
}

void ClearPendingDeletions() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "PendingFileRenameOperations");
  RegCloseKey(key);
}

void SetShellFolder(const char* name, const std::string& folder) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

HeldFile::HeldFile(const std::string& path)
    : h_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {
  EXPECT_NE(INVALID_HANDLE_VALUE, h_) << path;
}

HeldFile::~HeldFile() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

}  // namespace privacytest

#include "kelvolite/controls/message_box.h"

namespace privacytest {

namespace {
BoxRecorder* recorder = nullptr;

BOOL CALLBACK TextOfChild(HWND child, LPARAM out) {
  char text[512];
  if (GetDlgCtrlID(child) == 0xFFFF && GetWindowTextA(child, text, sizeof text))
    *reinterpret_cast<std::string*>(out) = text;
  return TRUE;
}
}  // namespace

BoxRecorder::BoxRecorder(WORD key) : key_(key), timer_(SetTimer(nullptr, 0, 10, &Tick)) { recorder = this; }

BoxRecorder::~BoxRecorder() {
  KillTimer(nullptr, timer_);
  recorder = nullptr;
}

void CALLBACK BoxRecorder::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (!recorder) return;
  if (HWND box = FindWindowA("TfmMessageBox", nullptr); box && IsWindowVisible(box) && fmMessageBox &&
                                                        GetPropA(box, "kvAnswered") == nullptr) {
    SetPropA(box, "kvAnswered", reinterpret_cast<HANDLE>(1));
    recorder->texts.push_back(fmMessageBox->Caption() + "|" + fmMessageBox->lMessage.Caption());
    PostMessageA(box, WM_KEYDOWN, recorder->key_, 0);
  }
  if (HWND box = FindWindowA("#32770", "GetLastError"); box && IsWindowVisible(box) &&
                                                        GetPropA(box, "kvAnswered") == nullptr) {
    SetPropA(box, "kvAnswered", reinterpret_cast<HANDLE>(1));
    std::string text;
    EnumChildWindows(box, &TextOfChild, reinterpret_cast<LPARAM>(&text));
    recorder->texts.push_back("GetLastError|" + text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

}  // namespace privacytest
