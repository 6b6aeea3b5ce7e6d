// Child process of the runtime failure tests: fails in the way its command
// line names, so the parent can check the exit code of each path.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "setup/app/runtime_failure.h"
#include "setup/app/setup_log.h"

namespace {

bool Mode(const char* name) {
  const char* line = GetCommandLineA();
  const char* at = strstr(line, "--mode=");
  return at && strcmp(at + 7, name) == 0;
}

// Fails static initialisation before the entry runs.
struct StartupProbe {
  StartupProbe() {
    if (Mode("startup")) throw 1;
  }
} g_startupProbe;

char* volatile g_kept = nullptr;

int Body(void*) {
  if (Mode("escape")) throw 2;
  if (Mode("terminate")) std::terminate();
  if (Mode("shutdown")) std::atexit([] { throw 3; });
  if (Mode("oom")) {
    // As the application object does with anything that is not ours.
    try {
      volatile size_t huge = SIZE_MAX / 4;
      g_kept = new char[huge];  // kept, so the allocation is not elided
      return 0;
    } catch (...) {
      return -1;
    }
  }
  if (Mode("log") || Mode("log-delete")) {
    SetupLog::Instance().SetDeleteAtExit(Mode("log-delete"));
    SetupLog::Instance().Event(0x01000001, {"child"});
  }
  return 0;
}

}  // namespace

int main() {
  InstallRuntimeFailureHandlers();
  return RunProcessEntry(Body, nullptr);
}
