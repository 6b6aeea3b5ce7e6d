// The uninstaller of the uninstall page's fixture entries.
//   kv_test_uninstaller <exit code> <note file> [<uninstall key to delete>]
// appends its own path to the note file (so a test sees every real run and
// which program ran), deletes the key if named, and exits with the code.
//   kv_test_uninstaller wait
// just waits, as a process the page must leave alone.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int argc = __argc;
  char** const argv = __argv;
  if (argc >= 2 && std::strcmp(argv[1], "wait") == 0) {
    Sleep(60000);
    return 0;
  }
  if (argc < 3) return 2;
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (FILE* note = std::fopen(argv[2], "a")) {
    std::fprintf(note, "%s\n", self);
    std::fclose(note);
  }
  if (argc >= 4) {
    const std::string key = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + argv[3];
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  }
  return static_cast<int>(std::strtol(argv[1], nullptr, 10));
}
