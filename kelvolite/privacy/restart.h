// The call that finally restarts Windows. Tests put a stand-in here so that
// the "Yes" answer can be followed without restarting the machine.
#pragma once
#include <windows.h>

using ExitWindowsFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern ExitWindowsFunction RestartWindowsCall;
