// The product package as a user meets it: KelvoLiteSetup.exe of this build
// run in the suite's own prefix, and what it leaves in the system, seen
// from outside through the file system, the registry and the shell.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

using Bytes = std::vector<uint8_t>;

extern const char kAppTitle[];       // "Kelvo Remover 2004 Lite"
extern const char kProgramKey[];     // HKLM key of the "Language" value
extern const char kUninstallKey[];   // HKLM uninstall key of the package
extern const char kSharedDllsKey[];  // HKLM SharedDLLs

// Build outputs, as Windows paths through the Z: drive.
std::string PackagePath();             // KelvoLiteSetup.exe
std::string StubPath();                // setup.exe, the program without archive
std::string KelvoliteBuild(bool nt);   // the 9x or the NT build
std::string PackagedRuntimeDll(const std::string& name);  // the stripped copy packed
std::string SourceFile(const std::string& relative);      // e.g. kelvolite/res/lang.lng
std::vector<std::string> RuntimeDllNames();

bool Exists(const std::string& path);
Bytes ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const Bytes& data);
// Names in a folder matching `pattern` (e.g. "*.lnk"), without "." and "..".
std::vector<std::string> FolderNames(const std::string& folder, const char* pattern = "*");

// Registry under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.
bool KeyExists(HKEY root, const std::string& key);
bool ReadString(HKEY root, const std::string& key, const char* name, std::string& value);
bool ReadDword(HKEY root, const std::string& key, const char* name, DWORD& value);
void WriteDword(HKEY root, const std::string& key, const char* name, DWORD value);
void DeleteValue(HKEY root, const std::string& key, const char* name);

// Where the package installs, from the registry as the package's symbols
// read it: ProgramFiles\Quorlan Soft\Kelvo Remover 2004 Lite, the program
// group (the user's Programs on 9x, the common one on NT), the desktop (the
// common one when the registry has it) and the system folder.
std::string ProgramFilesFolder();
std::string AppFolder();
std::string ProgramGroup();
std::string DesktopFolder();
std::vector<std::string> AllDesktopFolders();  // the user's and the common one
std::string SystemFolder();
std::string ShortPath(const std::string& path);

// A shell link read back through IShellLinkA.
struct Link {
  bool loaded = false;
  std::string path, arguments, workDir, iconPath;
  int iconIndex = -1, showCommand = 0;
};
Link ReadLink(const std::string& file);

// Starts a program (command line as given, in `folder`) and waits up to two
// minutes: its exit code, or -1000 when it did not start or did not end.
int RunProgram(const std::string& commandLine, const std::string& folder);
// Whether setup's self-delete helper (_QexDel.exe) is still running.
bool HelperRunning();
// After a removal: the helper has emptied the application folder and ended.
bool WaitForHelper();
// Polls `done` every 50 ms, pumping messages, until it holds or `ms` pass.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 30000);

}  // namespace e2e
