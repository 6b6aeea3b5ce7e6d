#include "kelvolite/uninstall/program_icon.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "kelvolite/app/main_form.h"
#include "kelvolite/uninstall/icon_reference.h"
#include "kelvolite/uninstall/registry_entry.h"
#include "kelvolite/forms/win_handle.h"

namespace {

// An icon handle from ExtractIconExA, destroyed with its scope.
class ScopedIcon {
public:
  explicit ScopedIcon(HICON icon) : icon_(icon) {}
  ~ScopedIcon() {
    if (icon_) DestroyIcon(icon_);
  }
  ScopedIcon(const ScopedIcon&) = delete;
  ScopedIcon& operator=(const ScopedIcon&) = delete;
  HICON get() const { return icon_; }
  explicit operator bool() const { return icon_ != nullptr; }

private:
  HICON icon_;
};

const char kProductsKey[] = "\\Software\\Classes\\Installer\\Products\\";
const char kArpCacheKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";
const char kShellFoldersKey[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// At most this much of a cache record is read; a longer one gives no path.
const int kSlowInfoCacheSize = 600;
const int kSlowInfoCachePathOffset = 28;

std::string InstallerProductIcon(TForm1& form, const std::string& keyName) {
  const std::string code = ProductCodeInKeyName(keyName);
  if (code.empty() || !form.FRegistry->OpenKeyReadOnly(kProductsKey + PackedProductCode(code))) return {};
  return form.FRegistry->ReadString("ProductIcon");
}

std::string ArpCacheIconPath(TForm1& form, const std::string& keyName) {
  if (!form.FRegistry->OpenKeyReadOnly(kArpCacheKey + keyName)) return {};
  unsigned char data[kSlowInfoCacheSize];
  return SlowInfoCachePath(data, form.FRegistry->ReadBinaryData("SlowInfoCache", data, sizeof data));
}

std::string ShellFolder(TForm1& form, HKEY root, const char* value) {
  form.FRegistry->SetRootKey(root);
  std::string folder;
  if (form.FRegistry->OpenKeyReadOnly(kShellFoldersKey)) folder = form.FRegistry->ReadString(value);
  form.FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  return folder;
}

void ReplaceFirst(std::string& s, char from, char to) {
  const size_t at = s.find(from);
  if (at != std::string::npos) s[at] = to;
}

// Depth first over `folder`; true when a shortcut with an icon was found
// (the search ends there, in every folder above too).
bool SearchShortcut(TForm1& form, const std::string& folder, const std::string& name) {
  WIN32_FIND_DATAA fd;
  TFindHandle find(FindFirstFileA((folder + "\\*.*").c_str(), &fd));
  if (!find.Valid()) return false;
  do {
    const std::string entry = fd.cFileName;
    if (entry.find("Uninstall") != std::string::npos) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (entry == "." || entry == "..") continue;
      // A junction or link may lead back up the tree: never follow one.
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (SearchShortcut(form, folder + "\\" + entry, name)) return true;
    } else if (entry.compare(0, name.size(), name) == 0) {
      form.FFoundShortcut = form.ResolveShortcut(folder + "\\" + entry);
      if (TakeProgramIcon(form, form.FFoundShortcut, 0)) return true;
      form.FFoundShortcut.clear();
    }
  } while (FindNextFileA(find.Get(), &fd));
  return false;
}

}  // namespace

std::string SlowInfoCachePath(const unsigned char* data, int size) {
  if (size <= kSlowInfoCachePathOffset) return {};
  std::vector<wchar_t> text;
  for (int i = kSlowInfoCachePathOffset; i + 1 < size; i += 2) {
    const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text.push_back(c);
  }
  if (text.empty()) return {};
  const int wide = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string path(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &path[0], n, nullptr, nullptr);
  return path;
}

bool TakeProgramIcon(TForm1& form, const std::string& file, int index) {
  form.FCurrentEntry->SetIconIndex(kNoIconPicture);
  if (file.empty()) return false;
  HICON largeHandle = nullptr, smallHandle = nullptr;
  ExtractIconExA(file.c_str(), index, &largeHandle, &smallHandle, 1);
  ScopedIcon large(largeHandle), small(smallHandle);
  if (!large) return false;
  const int at = form.ilUninstallLargeIcons.AddIcon(large.get());
  if (at < 0) return false;
  // Both lists keep the same indices: without a small icon the large one
  // is drawn smaller.
  form.ilUninstallSmallIcons.AddIcon(small ? small.get() : large.get());
  form.FCurrentEntry->SetIconIndex(at);
  return true;
}

void FindProgramIcon(TForm1& form, const std::string& displayIcon, bool hasDisplayName) {
  TPRegistryEntry& entry = *form.FCurrentEntry;
  if (!displayIcon.empty()) {
    const IconReference ref = SplitIconReference(displayIcon);
    if (TakeProgramIcon(form, ref.file, ref.index)) return;
  }
  std::string source = InstallerProductIcon(form, entry.KeyName());
  if (source.empty()) source = ArpCacheIconPath(form, entry.KeyName());
  if (!source.empty()) {
    const IconReference ref = SplitIconReference(source);
    if (TakeProgramIcon(form, ref.file, ref.index)) return;
  }
  form.FRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
  entry.SetIconIndex(kNoIconPicture);
  if (!hasDisplayName) return;
  // Shortcut names cannot hold these; setup programs put a space instead.
  std::string name = entry.DisplayName();
  ReplaceFirst(name, '\\', ' ');
  ReplaceFirst(name, '/', ' ');
  form.FFoundShortcut.clear();
  const std::string startMenu = ShellFolder(form, HKEY_CURRENT_USER, "Start Menu");
  const std::string commonStartMenu = ShellFolder(form, HKEY_LOCAL_MACHINE, "Common Start Menu");
  // A found shortcut has already given the entry its icon.
  form.FindStartMenuShortcut(startMenu, name);
  if (form.FFoundShortcut.empty()) form.FindStartMenuShortcut(commonStartMenu, name);
}

void TForm1::FindStartMenuShortcut(const std::string& folder, const std::string& name) {
  // Without the folder's value the search would start at the drive's root.
  if (folder.empty()) return;
  SearchShortcut(*this, folder, name);
}

std::string TForm1::ResolveShortcut(const std::string& path) {
  TComScope com;
  TComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive())))
    return path;
  TComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.Receive()))) return path;
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return path;
  std::vector<wchar_t> widePath(static_cast<size_t>(n));
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), n);
  if (FAILED(file->Load(widePath.data(), STGM_READ))) return path;
  if (FAILED(link->Resolve(Handle(), SLR_NO_UI | SLR_ANY_MATCH))) return path;
  char target[MAX_PATH] = "";
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) || !target[0]) return path;
  return target;
}
