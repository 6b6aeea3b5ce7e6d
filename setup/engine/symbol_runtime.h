// The symbols the engine fills in before the wizard starts: the folders
// of the running program and of the system, and (where the system has the
// profile functions) the profile folders. Values written as "(runtime)"
// in a script are placeholders these replace.
#pragma once

#include <string>
#include <string_view>

class SymbolTable;

struct RuntimeFolders {
  std::string modulePath;  // the running executable
  std::string winDir;
  std::string sysDir;
  std::string tempPath;    // as the system gives it, usually with a trailing '\'
  // Each only when the system's call succeeded.
  bool hasProfiles = false, hasAllUsersProfile = false, hasUserProfile = false;
  std::string profiles, allUsersProfile, userProfile;
};

// "C:\dir\Setup.exe" -> "C:\dir"; a bare name gives "".
std::string FolderOfPath(std::string_view path);
// The drive or share a path lies on, without a trailing backslash:
// "C:\WINDOWS" -> "C:", "\\server\share\WINDOWS" -> "\\server\share".
std::string RootOfPath(std::string_view path);
// Trailing backslashes removed, except the one of a bare drive root
// ("C:\" stays, "C:\Temp\\" -> "C:\Temp").
std::string TrimTrailingBackslashes(std::string_view path);

// Sets ids 10, 18, 19, 20, 22 and the profile ids 30, 53, 38 whose call
// succeeded (creating nameless symbols where the script has none). Returns
// the raw value of id 1, the default installation folder.
std::string SetRuntimeSymbols(SymbolTable& symbols, const RuntimeFolders& folders);

// Windows only: the running system's folders. False when the module path,
// the Windows, system or temporary folder cannot be read.
bool ReadRuntimeFolders(RuntimeFolders* folders);
