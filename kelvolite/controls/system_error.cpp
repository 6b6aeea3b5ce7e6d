#include "kelvolite/controls/system_error.h"

std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  return result;
}

void ShowSystemError(DWORD code) {
  std::string text = SystemErrorText(code);
  if (text.empty()) text = "Error " + std::to_string(code);
  MessageBoxA(GetActiveWindow(), text.c_str(), "GetLastError", MB_OK);
}
