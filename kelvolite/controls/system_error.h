// System failures are shown with the system's own text for the error code.
#pragma once
#include <windows.h>

#include <string>

// Shows the system message text for `code` in a plain message box captioned
// "GetLastError" with an OK button.
void ShowSystemError(DWORD code);
// The system message text for `code` without its closing line break, or
// "Error <code>" when the system has none.
std::string SystemErrorText(DWORD code);
