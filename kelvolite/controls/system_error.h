// System failures are shown with the system's own text for the error code.
#pragma once
#include <windows.h>

#include <string>

// Shows the system message text for `code` in a plain message box captioned
// "GetLastError" with an OK button.
void ShowSystemError(DWORD code);
// The system message text for `code` (empty when there is none).
std::string SystemErrorText(DWORD code);
