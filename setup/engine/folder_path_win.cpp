#include <windows.h>

#include "setup/engine/folder_path.h"
#include "setup/engine/setup_engine.h"

FolderPathResult CreateFolderPath(SetupEngine& engine, const std::string& path,
                                  std::string* full) {
  if (path.empty()) return kFolderFailed;
  char buffer[MAX_PATH];
  char* name = nullptr;
  const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, &name);
  if (n == 0 || n >= MAX_PATH) return kFolderFailed;
  std::string folder(buffer, n);
  // Keep the root's own backslash ("C:\").
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  if (full) *full = folder;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  const bool existed =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  // With "record every folder" an existing path is still walked, so that
  // its folders are recorded.
  if (existed && !engine.Install().Has(kOptRecordAllDirs)) return kFolderExisted;
  if (!engine.CreateFolders(folder)) return kFolderFailed;
  return existed ? kFolderExisted : kFolderCreated;
}
