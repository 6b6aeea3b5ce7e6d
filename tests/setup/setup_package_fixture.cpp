#include "setup/setup_package_fixture.h"

namespace kvtest {

std::string SetupProgram() {
  std::string path = "Z:" KV_SETUP_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

Entry TextEntry(const std::string& name, const std::string& body) {
  Entry e;
  e.name = name;
  e.body = Bytes(body.begin(), body.end());
  return e;
}

namespace {
void PutWord(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
}  // namespace

Bytes SetupPackage(const Bytes& archive) {
  Bytes exe = ReadFileBytes(SetupProgram());
  const uint32_t offset = uint32_t(exe.size());
  exe.insert(exe.end(), archive.begin(), archive.end());
  const uint32_t end = uint32_t(exe.size());
  PutWord(exe, 0x1C, offset);
  PutWord(exe, 0x20, ~offset);
  PutWord(exe, 0x78, end);
  PutWord(exe, 0x7C, ~end);
  return exe;
}

int RunProgram(const std::string& exe, const std::string& arguments, const std::string& folder) {
  std::string line = "\"" + exe + "\" " + arguments;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return -1000;
  const DWORD waited = WaitForSingleObject(pi.hProcess, 120000);
  DWORD code = DWORD(-1000);
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  else TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return int(code);
}

}  // namespace kvtest
