#include "kelvolite/controls/system_error.h"

std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  // The system's texts end in a line break, which would show as an empty line.
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  return result.empty() ? "Error " + std::to_string(code) : result;
}

void ShowSystemError(DWORD code) {
  MessageBoxA(GetActiveWindow(), SystemErrorText(code).c_str(), "GetLastError", MB_OK);
}
