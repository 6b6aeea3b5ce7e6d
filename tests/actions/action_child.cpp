// The program the [Action] tests start. Usage:
//   action_child <record file> <sleep ms> [anything else]
// It appends what it was started with (the command line, its folder, its
// show command, its process id), sleeps, then appends "done".
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {
void Append(const char* path, const std::string& line) {
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(file);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof folder, folder);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  Append(argv[1], std::string("action ") + GetCommandLineA());
  Append(argv[1], std::string("cwd ") + folder);
  Append(argv[1], "show " + std::to_string(startup.wShowWindow));
  Append(argv[1], "pid " + std::to_string(GetCurrentProcessId()));
  Sleep(DWORD(std::strtoul(argv[2], nullptr, 10)));
  Append(argv[1], "done");
  return 0;
}
