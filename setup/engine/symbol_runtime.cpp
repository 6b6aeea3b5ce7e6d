#include "setup/engine/symbol_runtime.h"

#include "setup/engine/symbol.h"

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string FolderOfPath(std::string_view path) {
  size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last));
}

std::string RootOfPath(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    // \\server\share: up to the separator after the share name.
    size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos) return std::string(path);
    size_t share = path.find_first_of("\\/", server + 1);
    return std::string(share == std::string_view::npos ? path : path.substr(0, share));
  }
  return std::string(path.substr(0, path.find_first_of("\\/")));
}

std::string TrimTrailingBackslashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '\\') {
    if (path.size() == 3 && path[1] == ':') break;
    path.remove_suffix(1);
  }
  return std::string(path);
}

std::string SetRuntimeSymbols(SymbolTable& symbols, const RuntimeFolders& f) {
  symbols.SetValue(kSymSetupDir, FolderOfPath(f.modulePath));
  symbols.SetValue(kSymWinDir, f.winDir);
  symbols.SetValue(kSymWinDrive, RootOfPath(f.winDir));
  symbols.SetValue(kSymWinSysDir, f.sysDir);
  symbols.SetValue(kSymTempDir, TrimTrailingBackslashes(f.tempPath));
  if (f.hasProfiles) symbols.SetValue(kSymProfiles, f.profiles);
  if (f.hasAllUsersProfile) symbols.SetValue(kSymCommonProfile, f.allUsersProfile);
  if (f.hasUserProfile) symbols.SetValue(kSymUserProfile, f.userProfile);
  return symbols.Value(kSymAppFolder);
}
