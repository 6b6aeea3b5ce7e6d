// Shared by the Wine tests of this folder: where the test programs are,
// reading the files they record into, and waiting on a condition.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace actionstest {

inline std::string TestFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\'));
}

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n) text.append(buffer, n);
  CloseHandle(file);
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// Lines that start with prefix.
inline std::vector<std::string> Only(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& l : lines) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  }
  return out;
}

template <typename F>
bool WaitFor(F condition, DWORD limitMs = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

// Ends a child that recorded "pid N" in its file.
inline void EndChild(const std::string& record) {
  for (const auto& line : Only(ReadLines(record), "pid ")) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                 DWORD(std::stoul(line.substr(4))));
    if (!process) continue;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
  }
}

}  // namespace actionstest
