#include <windows.h>

#include <exception>
#include <new>

#include "setup/app/runtime_failure.h"
#include "setup/app/setup_exception.h"
#include "setup/app/setup_log.h"

namespace {

enum class Stage { StartingUp, Running, ShuttingDown };
Stage g_stage = Stage::StartingUp;

RuntimeFailure FailureForStage() {
  switch (g_stage) {
    case Stage::StartingUp: return kRuntimeStartupFailed;
    case Stage::ShuttingDown: return kRuntimeShutdownFailed;
    default: return kRuntimeTerminated;
  }
}

void OnTerminate() { RuntimeFailureExit(FailureForStage()); }

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  // Where the compiler's catch (...) does not take system exceptions, a
  // failed allocation ends here: it still ends the run like any other
  // failure the application object catches, with -1 and the log closed.
  if (info && info->ExceptionRecord &&
      info->ExceptionRecord->ExceptionCode == kOutOfMemoryException) {
    // Logging may allocate: let a second failure throw instead of raising
    // the system exception again from inside this filter.
    std::set_new_handler(nullptr);
    try {
      SetupLog::Instance().SetLevel(kFatal);
      SetupLog::Instance().Trace("Out of memory");
      SetupLog::Instance().Close();
    } catch (...) {
    }
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(-1));
  }
  RuntimeFailureExit(FailureForStage());
}

void OnOutOfMemory() {
  RaiseException(kOutOfMemoryException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

// Static initialisation of other objects can fail before the entry runs.
struct EarlyTerminateHandler {
  EarlyTerminateHandler() { std::set_terminate(OnTerminate); }
};
EarlyTerminateHandler g_earlyTerminateHandler
    __attribute__((init_priority(101)));

}  // namespace

void RuntimeFailureExit(RuntimeFailure failure) {
  MessageBoxA(nullptr,
              "Runtime error - terminating.\n\n"
              "Please report this error to Quorlan Soft technical support "
              "at support@quorlan-soft.example.",
              "Brannoc runtime support",
              MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TASKMODAL);
  // At once: exit handlers may be what failed.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(failure));
  ExitProcess(static_cast<UINT>(failure));
}

void InstallRuntimeFailureHandlers() {
  std::set_terminate(OnTerminate);
  SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_new_handler(OnOutOfMemory);
}

int RunProcessEntry(int (*body)(void*), void* context) {
  g_stage = Stage::Running;
  int code = 0;
  try {
    code = body(context);
  } catch (...) {
    RuntimeFailureExit(kRuntimeEntryEscaped);
  }
  g_stage = Stage::ShuttingDown;
  return code;
}
