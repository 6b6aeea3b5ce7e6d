#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "setup/engine/os_file.h"
#include "setup/engine/shortcut_link.h"
#include "setup/engine/win_handles.h"
#include "setup/engine/win_paths.h"

namespace {
// Saving a link makes the shell read it at once (Wine starts its menu
// builder on every save; Explorer reads it for the icon), and the reader
// holds the file open without sharing its deletion for a moment. Waiting
// that out keeps a removal from leaving the link, and so its folder,
// behind; a file held longer than that is given up as before.
bool DeleteLinkFile(const std::string& path) {
  for (DWORD waited = 0;; waited += 50) {
    if (osfile::ForceDelete(path.c_str())) return true;
    if (GetLastError() != ERROR_SHARING_VIOLATION || waited >= 5000) return false;
    Sleep(50);
  }
}

bool MakeShellLink(ComPtr<IShellLinkA>& link, ComPtr<IPersistFile>& file) {
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put())))
    return false;
  return SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put()));
}
}  // namespace

bool CreateLink(const std::string& folder, const std::string& title, const LinkFields& f) {
  if (folder.empty() || title.empty() || f.target.empty()) return false;
  std::string name = folder;
  if (name.back() != '\\') name += '\\';
  name += title + ".lnk";
  if (name.size() > MAX_PATH) return false;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (!MakeShellLink(link, file)) return false;
  link->SetPath(f.target.c_str());
  link->SetWorkingDirectory(f.workDir.c_str());
  link->SetArguments(f.arguments.c_str());
  link->SetDescription(f.description.c_str());
  link->SetIconLocation(f.iconPath.c_str(), f.iconIndex);
  link->SetShowCmd(f.showCmd);
  // Links are left read-only: an earlier installation's would refuse the save.
  osfile::ForceDelete(name.c_str());
  if (FAILED(file->Save(WidePath(name).c_str(), TRUE))) return false;
  SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_READONLY);
  return true;
}

bool ReadLink(const std::string& linkPath, LinkFields* f) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (!MakeShellLink(link, file) || FAILED(file->Load(WidePath(linkPath).c_str(), STGM_READ)))
    return false;
  char text[1024];
  auto take = [&](HRESULT hr) { return SUCCEEDED(hr) ? std::string(text) : std::string(); };
  text[0] = '\0';
  f->target = take(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH));
  text[0] = '\0';
  f->workDir = take(link->GetWorkingDirectory(text, MAX_PATH));
  text[0] = '\0';
  f->arguments = take(link->GetArguments(text, sizeof text));
  text[0] = '\0';
  f->description = take(link->GetDescription(text, sizeof text));
  text[0] = '\0';
  int index = 0;
  f->iconPath = take(link->GetIconLocation(text, MAX_PATH, &index));
  f->iconIndex = index;
  int show = 0;
  f->showCmd = SUCCEEDED(link->GetShowCmd(&show)) ? show : 0;
  return true;
}

int DeleteLinksTo(const std::string& target, const std::string& folder) {
  if (target.empty() || folder.empty()) return 0;
  std::string prefix = folder;
  if (prefix.back() != '\\') prefix += '\\';
  std::vector<std::string> matches;
  {
    WIN32_FIND_DATAA found;
    ScopedFind find(FindFirstFileA((prefix + "*.lnk").c_str(), &found));
    if (!find) return 0;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string path = prefix + found.cFileName;
      LinkFields fields;
      if (ReadLink(path, &fields) && lstrcmpiA(fields.target.c_str(), target.c_str()) == 0)
        matches.push_back(path);
    } while (FindNextFileA(find.get(), &found));
  }
  int deleted = 0;
  for (const std::string& path : matches) deleted += DeleteLinkFile(path) ? 1 : 0;
  return deleted;
}
