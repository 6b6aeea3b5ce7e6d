#include <windows.h>

#include <vector>

#include "setup/app/setup_log.h"
#include "setup/engine/archive.h"
#include "setup/engine/folder_path.h"
#include "setup/engine/install_run.h"
#include "setup/engine/install_start.h"
#include "setup/engine/os_file.h"
#include "setup/engine/previous_version.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/win_handles.h"

#define KV_SOURCE_ID 7501

namespace {
bool CopyBytes(HANDLE from, HANDLE to, uint64_t count) {
  std::vector<char> buffer(64 * 1024);
  while (count > 0) {
    const DWORD want = DWORD(count < buffer.size() ? count : buffer.size());
    DWORD got = 0, put = 0;
    if (!ReadFile(from, buffer.data(), want, &got, nullptr) || got != want) return false;
    if (!WriteFile(to, buffer.data(), got, &put, nullptr) || put != got) return false;
    count -= got;
  }
  return true;
}
}  // namespace

bool CopySetupProgram(const std::string& source, const std::string& target) {
  osfile::ForceDelete(target.c_str());
  ScopedFile from(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (!from) return false;
  LARGE_INTEGER size;
  FILETIME written;
  if (!GetFileSizeEx(from.get(), &size) || !GetFileTime(from.get(), nullptr, nullptr, &written))
    return false;
  uint64_t count = uint64_t(size.QuadPart);
  uint32_t offset = 0, end = 0;
  if (ReadArchiveStamp(source.c_str(), &offset, &end) && offset != 0) count = offset;
  DWORD attributes = GetFileAttributesA(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) attributes = FILE_ATTRIBUTE_NORMAL;
  bool ok;
  {
    ScopedFile to(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!to) return false;
    ok = CopyBytes(from.get(), to.get(), count) && SetFileTime(to.get(), nullptr, nullptr, &written);
  }
  if (!ok) {
    DeleteFileA(target.c_str());
    return false;
  }
  SetFileAttributesA(target.c_str(), attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM);
  return true;
}

bool StartInstallation(SetupEngine& engine, InstallRun& run) {
  RunHooks& hooks = run.Hooks();
  const std::string title = engine.Expand(engine.Symbols().Value(kSymAppTitle));
  const std::string appFolder = engine.Expand(engine.Symbols().Value(kSymAppFolder));
  SetupLog::Instance().Event(kEventInstallStart, {title.c_str(), appFolder.c_str()});
  hooks.Notify(kNotifyWorkBegins);
  if (!hooks.RunActions(kPhaseInstallStart)) return engine.StepFailed(kErrorClassFatal);

  if (!RemovePreviousInstallation(engine, run)) return false;

  engine.SetState(kEngineRunning);
  SYSTEMTIME now;
  GetLocalTime(&now);
  ScriptSection* install = engine.Script().Section("Install", true);
  install->SetText("Timestamp", FormatTimestamp(now.wYear, now.wMonth, now.wDay, now.wHour,
                                                now.wMinute, now.wSecond));
  install->SetInt("NoDirSelect", 1);

  std::string folder;
  if (CreateFolderPath(engine, appFolder, &folder) == kFolderFailed) {
    KV_TRACE(kError, "cannot create the application folder %s", appFolder.c_str());
    engine.ShowMessage(kStrFolderFailed, appFolder, MessageKind::kNotice);
    return engine.StepFailed(kErrorClassFatal);
  }
  engine.Symbols().SetValue(kSymAppFolder, folder);

  const std::string setupExe = (folder.back() == '\\' ? folder : folder + "\\") + "Setup.exe";
  if (!CopySetupProgram(run.executable, setupExe)) {
    KV_TRACE(kError, "cannot copy %s to %s", run.executable.c_str(), setupExe.c_str());
    engine.ShowMessage(kStrFileFailed, "Setup.exe", MessageKind::kNotice);
    return engine.StepFailed(kErrorClassFatal);
  }
  run.setupExePath = setupExe;
  return true;
}
