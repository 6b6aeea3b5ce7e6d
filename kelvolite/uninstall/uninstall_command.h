// Starting an entry's uninstall command. The program a command line names
// is found here, not by CreateProcess's own guessing, so that an unquoted
// "C:\Program Files\App\uninst.exe" can never start "C:\Program.exe"; the
// process is then started from the quoted full path.
#pragma once
#include <windows.h>

#include <string>

#include "kelvolite/forms/win_handle.h"

// The command line with its program as a quoted full path, or empty when
// it names no existing program file (empty text, unbalanced quote, missing
// file, a folder).
std::string ResolvedCommandLine(const std::string& commandLine);

// Whether the command can be started. The process is created suspended and
// terminated before it runs a single instruction; it is never resumed.
bool ProbeCommand(const std::string& commandLine);

// Starts the command; false when it cannot be started.
bool StartCommand(const std::string& commandLine, TWinHandle& process);

// Blocks until `process` has ended. Messages that other programs send to our
// windows are still answered (an uninstaller that broadcasts a setting
// change would otherwise wait for us forever); input waits.
void WaitForProcessEnd(HANDLE process);
