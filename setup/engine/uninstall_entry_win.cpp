#include <windows.h>

#include <string>

#include "setup/app/setup_log.h"
#include "setup/engine/install_run.h"
#include "setup/engine/os_file.h"
#include "setup/engine/registry_access.h"
#include "setup/engine/registry_root_win.h"
#include "setup/engine/replace_at_restart.h"
#include "setup/engine/script_io.h"
#include "setup/engine/script_languages.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol_runtime.h"
#include "setup/engine/uninstall_entry.h"
#include "setup/engine/uninstall_records.h"
#include "setup/engine/win_handles.h"
#include "setup/engine/win_paths.h"

#define KV_SOURCE_ID 7503

namespace {
std::string AppFolder(SetupEngine& engine) {
  std::string folder = engine.Expand(engine.Symbols().Value(kSymAppFolder));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

// Typed registrations wait for the restart when any file was left for it.
bool RegistrationsDeferred(SetupEngine& engine) {
  if (engine.PendingReplacements().empty()) return false;
  for (auto& section : engine.FileSections()) {
    for (auto& item : section->items) {
      if (item->RegType() != 0 && (item->status > 0 || item->status == kFileInUse)) return true;
    }
  }
  return false;
}

// A file from the temporary folder kept beside the installed Setup.exe;
// the temporary one goes at the next restart. "" when the copy failed.
std::string KeepInAppFolder(const std::string& temp, const std::string& folder,
                            const char* name) {
  const std::string target = folder + "\\" + name;
  osfile::ForceDelete(target.c_str());
  const bool ok = CopyFileA(temp.c_str(), target.c_str(), FALSE) != 0;
  if (!ok) KV_TRACE(kWarn, "cannot copy %s to %s (%lu)", temp.c_str(), target.c_str(), GetLastError());
  ReplaceAtRestart(temp.c_str(), nullptr);
  return ok ? target : std::string();
}

bool WriteEntry(SetupEngine& engine, InstallRun& run, const std::string& setupShort) {
  const SymbolTable& symbols = engine.Symbols();
  UninstallEntryInput in;
  in.options = engine.Install().options;
  in.displayName = engine.Expand(symbols.Value(kSymUninstallTitle));
  in.setupShortPath = setupShort;
  const ScriptSection* install = engine.Script().Section("Install");
  if (install) in.timestamp = install->GetText("Timestamp");
  in.appFolder = engine.Expand(symbols.Value(kSymAppFolder));
  in.sourceFolder = FolderOfPath(run.executable);
  in.displayIcon = engine.Expand(engine.Install().path);
  in.version = engine.Expand(symbols.Value(kSymAppVersion));
  in.company = engine.Expand(symbols.Value(kSymCompany));
  in.webSite = symbols.Value(kSymWebSite);
  in.email = symbols.Value(kSymEmail);
  in.telephone = symbols.Value(kSymTelephone);
  const std::string keyPath = engine.Expand(symbols.Value(kSymUninstallRegPath));
  if (WriteUninstallEntry(engine.Reg(), keyPath, UninstallEntryValues(in))) return true;
  KV_TRACE(kError, "cannot write the uninstall entry %s", keyPath.c_str());
  return false;
}

bool WriteRunOnce(SetupEngine& engine, InstallRun& run, const std::string& setupShort) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const std::string name =
      RunOnceValueName((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime);
  const std::string data = setupShort + " /register";
  auto key = engine.Reg().CreateKey(RegRoot::kLocalMachine, kRunOnceKey);
  if (!key || !key->SetValue(name, kRegSz, data.c_str(), data.size() + 1)) return false;
  run.runOnceName = name;
  SetupLog::Instance().Event(kEventRunOnceEntry, {name.c_str()});
  return true;
}

// Depth first: the first subkey until there are none, then the key.
bool DeleteKeyTree(HKEY parent, const std::string& name) {
  {
    ScopedKey key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | DELETE, key.put()) != ERROR_SUCCESS)
      return false;
    char sub[256];
    for (;;) {
      DWORD size = sizeof sub;
      if (RegEnumKeyExA(key.get(), 0, sub, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      if (!DeleteKeyTree(key.get(), std::string(sub, size))) return false;
    }
  }
  return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}
}  // namespace

bool FinishInstallation(SetupEngine& engine, InstallRun& run) {
  RunHooks& hooks = run.Hooks();
  const bool deferred = RegistrationsDeferred(engine);
  const bool filesWait = !engine.PendingReplacements().empty();
  engine.FinishPendingReplacements();

  const std::string folder = AppFolder(engine);
  if (run.setupExePath.empty()) run.setupExePath = folder + "\\Setup.exe";
  std::string setupShort = ShortPathName(run.setupExePath);
  if (setupShort.empty()) setupShort = run.setupExePath;

  if (engine.Install().Has(kOptUninstallEntry) && !WriteEntry(engine, run, setupShort))
    return engine.StepFailed(kErrorClassFatal);

  // An extension DLL may ask for the registration run itself (host
  // service 14), whether or not any file waits for the restart.
  if (deferred || engine.RegistrationRunNeeded() ||
      (filesWait && hooks.HasActions(kPhaseAfterRegistration))) {
    if (!WriteRunOnce(engine, run, setupShort)) {
      KV_TRACE(kError, "cannot write the RunOnce entry");
      return engine.StepFailed(kErrorClassFatal);
    }
  } else if (!hooks.RunActions(kPhaseAfterRegistration)) {
    return engine.StepFailed(kErrorClassFatal);
  }

  ScriptSection* install = engine.Script().Section("Install", true);
  if (!run.tempLanguageDll.empty())
    run.languageDll = KeepInAppFolder(run.tempLanguageDll, folder, "_Setup.dll");
  const struct {
    const std::string& temp;
    const char* name;
    const char* key;
  } bitmaps[] = {{run.tempBitmap1, "_Setup1.bmp", "Bmp1"}, {run.tempBitmap2, "_Setup2.bmp", "Bmp2"}};
  for (const auto& b : bitmaps) {
    if (b.temp.empty()) continue;
    const std::string copy = KeepInAppFolder(b.temp, folder, b.name);
    if (!copy.empty()) install->SetText(b.key, copy);
  }
  if (!run.tempExtensionDll.empty()) {
    const std::string copy = KeepInAppFolder(run.tempExtensionDll, folder, "_Setupx.dll");
    engine.Script().Section("Extras", true)->SetText("DllPath", copy);
  }

  hooks.Notify(kNotifyWorkEnds);
  engine.SetState(kEngineDone);
  SetupLog::Instance().Event(kEventInstallEnd);
  return true;
}

bool RunRegistrationAfterRestart(SetupEngine& engine, InstallRun& run) {
  RunHooks& hooks = run.Hooks();
  const std::string title = engine.Expand(engine.Symbols().Value(kSymAppTitle));
  SetupLog::Instance().Event(kEventRegistrationRun, {title.c_str()});
  hooks.Notify(kNotifyWorkBegins);
  run.setupExePath = run.executable;
  engine.SetState(kEngineRunning);
  if (!engine.RegisterFiles()) return false;
  if (!hooks.RunActions(kPhaseAfterRegistration)) return engine.StepFailed(kErrorClassFatal);
  hooks.Notify(kNotifyWorkEnds);
  engine.SetState(kEngineDone);
  return true;
}

bool SaveInstalledScript(SetupEngine& engine, InstallRun& run) {
  engine.StoreFiles();
  for (const LanguageEntry& language : engine.Loaded().languages) StoreLanguage(language);
  const std::string path = AppFolder(engine) + "\\Setup.ini";
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!SaveScriptFile(engine.Script(), path.c_str())) {
    engine.ShowMessage(kStrSaveFailed, path, MessageKind::kNotice);
    run.exitCode = 4;
    return false;
  }
  SetFileAttributesA(path.c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  return true;
}

void DeleteUninstallRegistration(SetupEngine& engine, InstallRun& run) {
  if (engine.Install().Has(kOptUninstallEntry)) {
    const std::string keyPath = engine.Expand(engine.Symbols().Value(kSymUninstallRegPath));
    std::string rootName, parent, leaf;
    const HKEY root = SplitKeyPath(keyPath, &rootName, &parent, &leaf)
                          ? RegRootHandle(RegRootFromName(rootName))
                          : nullptr;
    ScopedKey parentKey;
    if (root && RegOpenKeyExA(root, parent.c_str(), 0, KEY_READ | DELETE, parentKey.put()) ==
                    ERROR_SUCCESS) {
      if (!DeleteKeyTree(parentKey.get(), leaf))
        KV_TRACE(kWarn, "cannot delete the uninstall key %s", keyPath.c_str());
    }
  }
  if (!run.runOnceName.empty()) {
    auto key = engine.Reg().OpenKey(RegRoot::kLocalMachine, kRunOnceKey, true);
    if (key) key->DeleteValue(run.runOnceName);
  }
}
