// Creating a folder path for the installation: every folder that had to
// be made (or, with [Install] Options 0x20, every folder of the path) is
// recorded in [UninstallDirs], so that the removal takes it away again.
#pragma once

#include <string>

class SetupEngine;

enum FolderPathResult { kFolderFailed = 0, kFolderExisted = 1, kFolderCreated = 2 };

// Windows builds. path is made absolute (at most 260 characters) and
// loses trailing backslashes; *full receives that form.
FolderPathResult CreateFolderPath(SetupEngine& engine, const std::string& path,
                                  std::string* full = nullptr);
