// The list handed to the self-delete helper _QexDel: its whole process
// environment, a block of at most 64 KB of NUL-terminated strings ended by
// one empty string. "F<path>" names a file to delete, "D<folder>" a folder
// to remove (no trailing backslash); the helper marks finished entries "X".
// Portable: the final removal step (self_delete_win.cpp) builds the block
// here and only starts the helper itself.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class SetupEngine;
struct InstallRun;

constexpr size_t kHelperBlockSize = 0x10000;

class HelperEnvironment {
 public:
  // An entry goes in only whole, and only while the closing empty string
  // still fits after it: a cut path could name another file. False when it
  // was left out (empty path or no room).
  bool AddFile(const std::string& path);
  bool AddFolder(const std::string& folder);
  // The entries and the closing empty string.
  std::string Block() const { return text_ + '\0'; }
  size_t Size() const { return text_.size() + 1; }

 private:
  bool Add(char letter, const std::string& path);
  std::string text_;
};

// What a finished removal leaves for the helper, already expanded.
struct HelperList {
  std::string setupExe;
  std::string appFolder;     // its Setup.ini is listed
  std::string bitmap1, bitmap2;
  std::string languageDll;   // only when the selected language ships a DLL
  std::string extensionDll;  // only when the extension DLL stayed in the app folder
  std::vector<std::string> pending;  // files the removal could not delete
  std::vector<std::string> folders;  // [UninstallDirs], in recorded order
};

// Gathers the list from the engine and the run.
HelperList CollectHelperList(SetupEngine& engine, const InstallRun& run);

// Builds the block in the helper's order: Setup.exe, Setup.ini, the two
// bitmaps, the language and extension DLLs, the pending files, then the
// folders. handedFolders receives each folder that went in (as listed).
std::string BuildHelperEnvironment(const HelperList& list,
                                   std::vector<std::string>* handedFolders);
