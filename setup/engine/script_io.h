// Reading and writing Setup.ini through BufferedFile: the copy read whole
// from the archive, an installed copy, or a script named on the command line.
#pragma once

#include <cstddef>

#include "setup/engine/script.h"

// False when the file cannot be opened. The script is cleared first.
bool LoadScriptFile(SetupScript& script, const char* path);
void LoadScriptMemory(SetupScript& script, const void* data, size_t size);
// Creates or truncates the file. False when it cannot be created or when
// any part of it cannot be written (a full disk must not pass as saved).
bool SaveScriptFile(const SetupScript& script, const char* path);
