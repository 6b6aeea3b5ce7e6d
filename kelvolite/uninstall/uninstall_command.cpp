#include "kelvolite/uninstall/uninstall_command.h"

#include <vector>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full path of the program file `name` stands for, or empty.
std::string FindProgram(const std::string& name) {
  if (name.empty() || name.size() >= MAX_PATH) return {};
  char found[MAX_PATH];
  if (name.find_first_of("\\/:") != std::string::npos) {
    // A path: as it is, or with ".exe" when its last part has no extension.
    std::string path = name;
    if (!IsFile(path)) {
      const size_t lastPart = path.find_last_of("\\/:") + 1;
      if (path.find('.', lastPart) != std::string::npos) return {};
      path += ".exe";
      if (!IsFile(path)) return {};
    }
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, found, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(found, n) : std::string();
  }
  // A bare name: the program's folder, the current folder, the system
  // folders and PATH, as the system looks for programs.
  const DWORD n = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
  if (n == 0 || n >= MAX_PATH || !IsFile(found)) return {};
  return std::string(found, n);
}

bool CreateCommandProcess(const std::string& commandLine, DWORD flags, PROCESS_INFORMATION& pi) {
  const std::string resolved = ResolvedCommandLine(commandLine);
  if (resolved.empty()) return false;
  std::vector<char> buffer(resolved.begin(), resolved.end());
  buffer.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  // No handles of ours are handed to an uninstaller.
  return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &si, &pi) !=
         FALSE;
}

}  // namespace

std::string ResolvedCommandLine(const std::string& commandLine) {
  size_t start = 0;
  while (start < commandLine.size() && IsBlank(commandLine[start])) ++start;
  if (start == commandLine.size()) return {};
  if (commandLine[start] == '"') {
    const size_t close = commandLine.find('"', start + 1);
    if (close == std::string::npos) return {};
    const std::string program = FindProgram(commandLine.substr(start + 1, close - start - 1));
    if (program.empty()) return {};
    return "\"" + program + "\"" + commandLine.substr(close + 1);
  }
  // Unquoted: the longest run of words that names a program file wins, so
  // "C:\Program Files\App\uninst.exe /S" is the uninstaller, not "C:\Program".
  std::vector<size_t> ends;
  for (size_t i = start; i < commandLine.size(); ++i)
    if (IsBlank(commandLine[i]) && !IsBlank(commandLine[i - 1])) ends.push_back(i);
  if (!IsBlank(commandLine.back())) ends.push_back(commandLine.size());
  for (auto it = ends.rbegin(); it != ends.rend(); ++it) {
    const std::string program = FindProgram(commandLine.substr(start, *it - start));
    if (!program.empty()) return "\"" + program + "\"" + commandLine.substr(*it);
  }
  return {};
}

bool ProbeCommand(const std::string& commandLine) {
  PROCESS_INFORMATION pi = {};
  if (!CreateCommandProcess(commandLine, CREATE_SUSPENDED, pi)) return false;
  TWinHandle process(pi.hProcess), thread(pi.hThread);
  TerminateProcess(process.Get(), 1);
  // Gone before the next probe, so that nothing of it holds its files.
  WaitForSingleObject(process.Get(), 5000);
  return true;
}

bool StartCommand(const std::string& commandLine, TWinHandle& process) {
  PROCESS_INFORMATION pi = {};
  if (!CreateCommandProcess(commandLine, 0, pi)) return false;
  CloseHandle(pi.hThread);
  process.Reset(pi.hProcess);
  return true;
}

void WaitForProcessEnd(HANDLE process) {
  // Ends on the process's own signal: an exit code of 259 (STILL_ACTIVE)
  // must not keep us waiting after the uninstaller is gone.
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) return;  // ended, or the handle is unusable
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the sent messages only
  }
}
