// setup's process entry: the DLL search path made safe, the command line
// split, then SetupApp's initialise, run and exit.
#include <windows.h>

#include <string>

#include "setup/app/command_line.h"
#include "setup/app/runtime_failure.h"
#include "setup/app/setup_app.h"

namespace {

typedef BOOL(WINAPI* SetDllDirectoryFn)(LPCSTR);

// A package is typically started from a downloads folder full of other
// files: none of them may be loaded in place of a system DLL. Remove the
// current folder from the search where the system can, and load the
// system DLLs that setup asks for by name later from the system folder
// now, so that those later requests find them already loaded.
void RestrictLibrarySearch() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setDllDirectory = reinterpret_cast<SetDllDirectoryFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDllDirectory) setDllDirectory("");
  char system[MAX_PATH];
  const UINT n = GetSystemDirectoryA(system, MAX_PATH - 16);
  if (n == 0 || n >= MAX_PATH - 16) return;
  std::string folder(system, n);
  if (folder.back() != '\\') folder += '\\';
  for (const char* name : {"SFC.DLL", "userenv.dll", "OLEAUT32.DLL", "ADVAPI32.DLL", "COMCTL32.DLL"})
    LoadLibraryA((folder + name).c_str());  // kept for the whole run; absent ones are fine
}

struct EntryContext {
  HINSTANCE module;
  int show;
};

int RunSetup(void* context) {
  const auto* entry = static_cast<EntryContext*>(context);
  const std::string rest = ArgumentsAfterProgram(GetCommandLineA());

  SetupApp app;
  const bool initialised = app.Initialise(entry->module, rest.c_str(), entry->show);
  if (initialised) app.Run();
  return app.Exit(initialised);
}

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int) {
  RestrictLibrarySearch();
  InstallRuntimeFailureHandlers();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  EntryContext context = {module, (startup.dwFlags & STARTF_USESHOWWINDOW)
                                      ? int(startup.wShowWindow)
                                      : SW_SHOWDEFAULT};
  return RunProcessEntry(RunSetup, &context);
}
