#include "kelvolite/privacy/clean_paths.h"

#include <windows.h>

#include <cstdlib>

namespace {

std::string WithoutTrailingSlash(std::string s) {
  while (!s.empty() && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  return s;
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return WithoutTrailingSlash(buffer);
}

bool Absolute(const std::string& path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool unc = path.size() >= 2 && path[0] == '\\' && path[1] == '\\';
  return drive || unc;
}

// "C:" or "\\server\share" (after the trailing "\" is gone).
bool IsRoot(const std::string& full) {
  if (full.size() <= 2) return true;
  if (full[0] == '\\' && full[1] == '\\') {
    std::string::size_type server = full.find('\\', 2);
    return server == std::string::npos || full.find('\\', server + 1) == std::string::npos;
  }
  return false;
}

bool SameOrInside(const std::string& inner, const std::string& outer) {
  if (inner.size() < outer.size()) return false;
  if (lstrcmpiA(inner.substr(0, outer.size()).c_str(), outer.c_str()) != 0) return false;
  return inner.size() == outer.size() || inner[outer.size()] == '\\';
}

// True when `folder` is `protectedPath` or one of the folders above it,
// comparing both the long and the short forms.
bool HoldsOrIs(const std::string& folder, const std::string& protectedPath) {
  if (protectedPath.empty()) return false;
  const std::string guarded = FullPath(protectedPath);
  if (guarded.empty()) return false;
  if (SameOrInside(guarded, folder)) return true;
  const std::string shortFolder = WithoutTrailingSlash(ShortPath(folder));
  const std::string shortGuarded = WithoutTrailingSlash(ShortPath(guarded));
  return !shortFolder.empty() && !shortGuarded.empty() && SameOrInside(shortGuarded, shortFolder);
}

std::string SystemFolder() {
  char buffer[MAX_PATH];
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : WithoutTrailingSlash(buffer);
}

std::string ProfileFolder() {
  const char* profile = std::getenv("USERPROFILE");
  return profile ? WithoutTrailingSlash(profile) : std::string();
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : std::string(buffer, n);
}

std::string WindowsFolder() {
  char buffer[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : WithoutTrailingSlash(buffer);
}

bool IsSafeFolderToEmpty(const std::string& folder) {
  if (!Absolute(folder)) return false;
  const std::string full = FullPath(folder);
  if (full.empty() || IsRoot(full)) return false;
  for (const std::string& guarded : {WindowsFolder(), SystemFolder(), ProfileFolder()})
    if (HoldsOrIs(full, guarded)) return false;
  return true;
}
