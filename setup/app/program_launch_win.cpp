#include <windows.h>
#include <shellapi.h>

#include <string>

#include "setup/app/program_action.h"
#include "setup/app/program_launch.h"
#include "setup/app/setup_log.h"
#include "setup/engine/win_handles.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/setup_engine.h"

#define KV_SOURCE_ID 6701

namespace {
constexpr DWORD kSliceMs = 100;

class SystemLauncher : public ProgramLauncher {
 public:
  SystemLauncher(SetupEngine& engine, HWND mainWindow) : engine_(engine), window_(mainWindow) {}
  bool Run(const ProgramLaunch& launch) override;

 private:
  HANDLE Start(const ProgramLaunch& launch, bool* started);
  void Wait(HANDLE process, uint32_t timeout);

  SetupEngine& engine_;
  HWND window_;
};

HANDLE SystemLauncher::Start(const ProgramLaunch& launch, bool* started) {
  *started = false;
  char current[MAX_PATH] = "";
  const char* folder = launch.workDir.c_str();
  if (launch.workDir.empty()) {
    GetCurrentDirectoryA(sizeof current, current);
    folder = current;
  }
  const int show = int(launch.showCommand & 0xFFFF);

  if (launch.flags & kActionShellExecute) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = window_;
    info.lpVerb = "open";
    info.lpFile = launch.path.c_str();
    info.lpParameters = launch.arguments.c_str();
    info.lpDirectory = folder;
    info.nShow = show;
    if (!ShellExecuteExA(&info)) {
      KV_TRACE(kWarn, "cannot open %s (%lu)", launch.path.c_str(), GetLastError());
      return nullptr;
    }
    *started = true;
    return info.hProcess;
  }

  std::string line = launch.path.empty() ? launch.arguments
                                         : "\"" + launch.path + "\" " + launch.arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = WORD(show);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(launch.path.empty() ? nullptr : launch.path.c_str(), &line[0], nullptr,
                      nullptr, FALSE, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, folder,
                      &startup, &process)) {
    KV_TRACE(kWarn, "cannot start %s (%lu)", launch.path.c_str(), GetLastError());
    return nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  *started = true;
  return process.hProcess;
}

// 100 ms slices with the messages pumped in between, so the windows stay
// alive and Cancel on the progress page ends the wait.
void SystemLauncher::Wait(HANDLE process, uint32_t timeout) {
  uint32_t remaining = timeout;
  for (;;) {
    if (WaitForSingleObject(process, kSliceMs) != WAIT_TIMEOUT) break;
    if (remaining <= kSliceMs) break;
    if (engine_.Progress().Poll()) break;
    remaining -= kSliceMs;
  }
}

bool SystemLauncher::Run(const ProgramLaunch& launch) {
  bool started = false;
  ScopedHandle process(Start(launch, &started));
  if (!started) return false;
  if (!process || !(launch.flags & kActionWait)) return true;

  const bool hide = (launch.flags & kActionHideWindow) && window_ && IsWindowVisible(window_);
  if (hide) ShowWindow(window_, SW_HIDE);
  Wait(process.get(), launch.timeout);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  if (hide) {
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  }
  if (window_ && IsWindowVisible(window_)) SetForegroundWindow(window_);
  return true;
}
}  // namespace

std::unique_ptr<ProgramLauncher> MakeSystemLauncher(SetupEngine& engine, void* mainWindow) {
  return std::make_unique<SystemLauncher>(engine, static_cast<HWND>(mainWindow));
}
