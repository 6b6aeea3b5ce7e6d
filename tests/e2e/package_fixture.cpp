#include "e2e/package_fixture.h"

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>

namespace e2e {

const char kAppTitle[] = "Kelvo Remover 2004 Lite";
const char kProgramKey[] = "Software\\Quorlan Soft\\Kelvo Remover 2004 Lite";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvo Remover 2004 Lite";
const char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

namespace {

const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string WindowsPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

bool IsNt() {
  OSVERSIONINFOA v = {};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

std::string PackagePath() { return WindowsPath(KV_PACKAGE_EXE); }
std::string StubPath() { return WindowsPath(KV_SETUP_EXE); }
std::string KelvoliteBuild(bool nt) { return WindowsPath(nt ? KV_KELVOLITE_NT : KV_KELVOLITE_9X); }
std::string PackagedRuntimeDll(const std::string& name) {
  return WindowsPath(KV_PACKAGE_DIR) + "\\runtime\\" + name;
}
std::string SourceFile(const std::string& relative) {
  return WindowsPath(KV_SOURCE_DIR "/" + relative);
}
std::vector<std::string> RuntimeDllNames() {
#if defined(_WIN64)
  return {"libgcc_s_seh-1.dll", "libstdc++-6.dll"};
#else
  return {"libgcc_s_dw2-1.dll", "libstdc++-6.dll"};
#endif
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool WriteFile(const std::string& path, const Bytes& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  return bool(f);
}

std::vector<std::string> FolderNames(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

bool ReadString(HKEY root, const std::string& key, const char* name, std::string& value) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  char buffer[1024];
  DWORD size = sizeof buffer - 1, type = 0;
  const LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[size] = 0;
  value = buffer;
  return true;
}

bool ReadDword(HKEY root, const std::string& key, const char* name, DWORD& value) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  DWORD size = sizeof value, type = 0;
  const LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(k);
  return rc == ERROR_SUCCESS && type == REG_DWORD;
}

void WriteDword(HKEY root, const std::string& key, const char* name, DWORD value) {
  HKEY k;
  if (RegCreateKeyA(root, key.c_str(), &k) != ERROR_SUCCESS) return;
  RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(k);
}

void DeleteValue(HKEY root, const std::string& key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name);
  RegCloseKey(k);
}

std::string ProgramFilesFolder() {
  std::string folder;
  ReadString(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", folder);
  return folder;
}

std::string AppFolder() { return ProgramFilesFolder() + "\\Quorlan Soft\\" + kAppTitle; }

std::string ProgramGroup() {
  std::string programs;
  if (IsNt())
    ReadString(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", programs);
  else
    ReadString(HKEY_CURRENT_USER, kShellFolders, "Programs", programs);
  return programs + "\\" + kAppTitle;
}

std::string DesktopFolder() {
  std::string desktop;
  if (ReadString(HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop", desktop) && !desktop.empty())
    return desktop;
  ReadString(HKEY_CURRENT_USER, kShellFolders, "Desktop", desktop);
  return desktop;
}

std::vector<std::string> AllDesktopFolders() {
  std::vector<std::string> folders;
  std::string folder;
  if (ReadString(HKEY_CURRENT_USER, kShellFolders, "Desktop", folder)) folders.push_back(folder);
  if (ReadString(HKEY_LOCAL_MACHINE, kShellFolders, "Common Desktop", folder) &&
      lstrcmpiA(folder.c_str(), folders.empty() ? "" : folders[0].c_str()) != 0)
    folders.push_back(folder);
  return folders;
}

std::string SystemFolder() {
  char folder[MAX_PATH];
  GetSystemDirectoryA(folder, MAX_PATH);
  return folder;
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

Link ReadLink(const std::string& file) {
  Link link;
  IShellLinkA* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shell))))
    return link;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
      char text[MAX_PATH * 2];
      link.loaded = true;
      if (SUCCEEDED(shell->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) link.path = text;
      if (SUCCEEDED(shell->GetArguments(text, sizeof text))) link.arguments = text;
      if (SUCCEEDED(shell->GetWorkingDirectory(text, sizeof text))) link.workDir = text;
      int index = -1;
      if (SUCCEEDED(shell->GetIconLocation(text, sizeof text, &index))) {
        link.iconPath = text;
        link.iconIndex = index;
      }
      shell->GetShowCmd(&link.showCommand);
    }
    persist->Release();
  }
  shell->Release();
  return link;
}

int RunProgram(const std::string& commandLine, const std::string& folder) {
  std::string line = commandLine;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return -1000;
  const DWORD waited = WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = DWORD(-1000);
  if (waited == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &code);
  else
    TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return int(code);
}

bool HelperRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
    found = lstrcmpiA(entry.szExeFile, "_QexDel.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

bool WaitForHelper() {
  return WaitFor([] { return !Exists(AppFolder()) && !HelperRunning(); });
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

}  // namespace e2e
