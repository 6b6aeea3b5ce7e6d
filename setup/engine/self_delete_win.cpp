#include <windows.h>

#include <string>
#include <vector>

#include "setup/app/setup_log.h"
#include "setup/engine/install_run.h"
#include "setup/engine/os_file.h"
#include "setup/engine/replace_at_restart.h"
#include "setup/engine/self_delete.h"
#include "setup/engine/self_delete_list.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/win_handles.h"

#define KV_SOURCE_ID 6404

namespace {

// Writes the helper program from the resources; false when setup carries
// none or the file cannot be written whole.
bool WriteHelper(const std::string& path) {
  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC resource =
      FindResourceA(module, MAKEINTRESOURCEA(kHelperResourceId), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!resource) {
    KV_TRACE(kError, "no self-delete helper in the program");
    return false;
  }
  const DWORD size = SizeofResource(module, resource);
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return false;
  ScopedFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    KV_TRACE(kError, "cannot create %s (%lu)", path.c_str(), GetLastError());
    return false;
  }
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes, size, &written, nullptr) || written != size) {
    KV_TRACE(kError, "cannot write %s (%lu)", path.c_str(), GetLastError());
    file.reset();
    DeleteFileA(path.c_str());
    return false;
  }
  return true;
}

std::string TempFolder(SetupEngine& engine) {
  std::string folder = engine.Expand(engine.Symbols().Value(kSymTempDir));
  if (folder.empty()) {
    char buffer[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, buffer);
    if (n > 0 && n < MAX_PATH) folder.assign(buffer, n);
  }
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();  // a root keeps its own
  return folder;
}

}  // namespace

bool RunFinalRemovalStep(SetupEngine& engine, InstallRun& run, bool removePartial,
                         uint32_t* helperProcessId) {
  if (!run.filesRemoved && !removePartial) return false;
  DeleteUninstallRegistration(engine, run);

  std::vector<std::string> handed;
  // The helper reads the block as it is, so it must outlive CreateProcess.
  const std::string block = BuildHelperEnvironment(CollectHelperList(engine, run), &handed);
  for (const std::string& folder : handed)
    SetupLog::Instance().Event(kEventFolderHandedOver, {folder.c_str()});

  const std::string temp = TempFolder(engine);
  const std::string folder = temp + (temp.empty() || temp.back() == '\\' ? "" : "\\");
  std::string helper = folder + kHelperFileName;
  osfile::ForceDelete(helper.c_str());
  if (!WriteHelper(helper)) {
    // The helper of a removal that ended moments ago may still be running
    // under that name: take a name of this process's own rather than leave
    // Setup.exe and the folders behind.
    helper = folder + "_QexDel" + std::to_string(GetCurrentProcessId()) + ".exe";
    osfile::ForceDelete(helper.c_str());
    if (!WriteHelper(helper)) return false;
  }
  ReplaceAtRestart(helper.c_str(), nullptr);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  std::vector<char> environment(block.begin(), block.end());
  if (!CreateProcessA(helper.c_str(), nullptr, nullptr, nullptr, FALSE,
                      IDLE_PRIORITY_CLASS | CREATE_SUSPENDED, environment.data(), temp.c_str(),
                      &startup, &process)) {
    KV_TRACE(kError, "cannot start %s (%lu)", helper.c_str(), GetLastError());
    return false;
  }
  ScopedHandle processHandle(process.hProcess), threadHandle(process.hThread);
  SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  ResumeThread(process.hThread);
  if (helperProcessId) *helperProcessId = process.dwProcessId;
  run.Hooks().Notify(kNotifyWorkEnds);
  engine.SetState(kEngineDone);
  return true;
}
