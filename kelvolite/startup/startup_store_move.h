// Moving one startup item between the active and the disabled store of its
// pair. A move never overwrites: an item of the same name already in the
// target store keeps its data, and the moved item takes the next free name
// ("Name (2)", "Name (2).lnk"), unless it is an identical registry value,
// which is simply merged.
#pragma once
#include <windows.h>

#include <string>

// Moves value `name` from key `fromKey` to key `toKey` (created when
// missing) under `root`, keeping its type and data exactly. Writes before
// it deletes, so a failure leaves the value where it was. Returns
// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the source key or value is gone,
// or the system's error code.
DWORD MoveStartupValue(HKEY root, const std::string& fromKey, const std::string& toKey, const std::string& name);

// Moves the file `source` into `targetFolder` as `name`. A missing target
// folder is created first (hidden when `hideCreatedFolder`). Returns
// ERROR_SUCCESS or the system's error code; on failure the file stays
// where it was.
DWORD MoveStartupFile(const std::string& source, const std::string& targetFolder, const std::string& name,
                      bool hideCreatedFolder);

// Creates `folder` when it does not exist, hidden when `hidden`. Returns
// ERROR_SUCCESS or the system's error code.
DWORD EnsureStartupFolder(const std::string& folder, bool hidden);
