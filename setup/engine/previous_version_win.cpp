#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "setup/app/setup_log.h"
#include "setup/engine/install_run.h"
#include "setup/engine/previous_version.h"
#include "setup/engine/progress_sink.h"
#include "setup/engine/registry_access.h"
#include "setup/engine/script_text.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/win_handles.h"

#define KV_SOURCE_ID 7502

namespace {
constexpr DWORD kUninstallerWaitMs = 300000;
constexpr DWORD kHelperWaitMs = 30000;
constexpr DWORD kSliceMs = 100;

std::string ReadText(RegistryKey& key, const char* name) {
  RegValue value;
  if (!key.QueryValue(name, &value) || !IsRegStringType(value.type)) return {};
  std::string text = value.data;
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// Waits in short slices so that the windows stay alive meanwhile.
void WaitKeepingAlive(SetupEngine& engine, HANDLE process, DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(process, kSliceMs) == WAIT_TIMEOUT) {
    engine.Progress().Poll();
    if (GetTickCount() - start >= limitMs) break;
  }
}

// The previous version's self-delete helper, if it is still running.
// Toolhelp is looked up by name: NT 4 has none.
HANDLE OpenRunningHelper() {
  using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
  using Walk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return nullptr;
  auto snapshot = reinterpret_cast<Snapshot>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  auto first = reinterpret_cast<Walk>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32First")));
  auto next = reinterpret_cast<Walk>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32Next")));
  if (!snapshot || !first || !next) return nullptr;
  ScopedFile list(snapshot(TH32CS_SNAPPROCESS, 0));
  if (!list) return nullptr;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = first(list.get(), &entry); more; more = next(list.get(), &entry)) {
    const char* name = entry.szExeFile;
    for (const char* p = entry.szExeFile; *p; ++p) {
      if (*p == '\\') name = p + 1;
    }
    if (scripttext::EqualsNoCase(name, "_QexDel.exe"))
      return OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
  }
  return nullptr;
}

void RunAndWait(SetupEngine& engine, InstallRun& run, const std::string& command) {
  run.Hooks().ProgressText(EngineMessageText(kStrWaitingForUninstall, ""));
  std::string line = command;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    KV_TRACE(kWarn, "cannot start %s (%lu)", command.c_str(), GetLastError());
    return;
  }
  ScopedHandle thread(process.hThread), handle(process.hProcess);
  WaitKeepingAlive(engine, handle.get(), kUninstallerWaitMs);

  ScopedHandle helper(OpenRunningHelper());
  if (!helper) return;
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  WaitForSingleObject(helper.get(), kHelperWaitMs);
  SetCursor(old);
}
}  // namespace

bool RemovePreviousInstallation(SetupEngine& engine, InstallRun& run) {
  if (!ShouldLookForPrevious(run.upgradeLevel, engine.Install().Has(kOptFindPrevious)))
    return true;
  SymbolTable& symbols = engine.Symbols();
  symbols.SetValue(kSymInstallLocationPrev, engine.Expand(symbols.Value(kSymInstallLocationPrev)));
  const std::string keyPath = engine.Expand(symbols.Value(kSymUninstallRegPathPrev));
  std::string rootName, parent, leaf;
  if (!SplitKeyPath(keyPath, &rootName, &parent, &leaf)) return true;
  const RegRoot root = RegRootFromName(rootName);
  if (root == RegRoot::kNone) return true;
  auto key = engine.Reg().OpenKey(root, parent.empty() ? leaf : parent + "\\" + leaf, false);
  if (!key) return true;
  const std::string displayName = ReadText(*key, "DisplayName");
  const std::string uninstallString = ReadText(*key, "UninstallString");
  key.reset();
  if (uninstallString.empty()) return true;

  bool recognised = false;
  const std::string command = PreviousUninstallCommand(uninstallString, &recognised);
  bool goOn;
  if (!engine.Quiet()) {
    goOn = !engine.Install().Has(kOptAskBeforeUninstallPrev) ||
           engine.ShowMessage(kStrPreviousDetected, displayName, MessageKind::kOkCancel) !=
               kAnswerCancel;
  } else {
    goOn = QuietRunRemovesPrevious(run.upgradeLevel, recognised);
  }
  if (!goOn) {
    run.exitCode = kExitPreviousNotRemoved;
    return engine.StepFailed(kErrorClassFatal);
  }
  if (!engine.Quiet() || recognised) RunAndWait(engine, run, command);
  return true;
}
