// ReplaceAtRestart: replace or delete a file at the next Windows start.
// NT: MoveFileExA with delay-until-reboot. 9x (no such support): an item
// "new=existing" in section [rename] of WININIT.INI, with short paths and
// NUL as the new name of a deletion.
#pragma once

#include <string>

class SetupScript;

// Appends key=value to [rename] (created when missing), after the items
// already there.
void AddWininitRename(SetupScript& wininit, const std::string& key, const std::string& value);

// Windows builds. existing: the file that is there at restart; newPath:
// where it goes (the target), or null to delete it.
bool ReplaceAtRestart(const char* existing, const char* newPath);
