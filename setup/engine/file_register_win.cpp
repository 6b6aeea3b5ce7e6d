// Registering installed files and undoing it at removal: the file's
// registry group, then its type (COM self-registration, type library,
// server executable, font, Windows Help file).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "setup/app/setup_log.h"
#include "setup/engine/file_protection.h"
#include "setup/engine/file_remove_decision.h"
#include "setup/engine/registry_access.h"
#include "setup/engine/regscript_apply.h"
#include "setup/engine/script_text.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/shared_count.h"
#include "setup/engine/win_handles.h"
#include "setup/engine/win_paths.h"

#define KV_SOURCE_ID 7302

namespace {

enum : uint32_t {
  kEventGroupFailed = 0x04010016, kEventGroupMissing = 0x04010017, kEventGroupApplied = 0x02010018,
  kEventComFailed = 0x04010019, kEventComDone = 0x0201001A,
  kEventTypeLibFailed = 0x0401001B, kEventTypeLibDone = 0x0201001C,
  kEventServerFailed = 0x0401001D, kEventServerDone = 0x0201001E,
  kEventFontFailed = 0x0401001F, kEventFontDone = 0x02010020,
  kEventHelpFailed = 0x04010021, kEventHelpDone = 0x02010022,
  kEventGroupFailedUndo = 0x04010024, kEventGroupMissingUndo = 0x04010025,
  kEventGroupRemoved = 0x02010026,
  kEventComUndoFailed = 0x04010027, kEventComUndone = 0x02010028,
  kEventTypeLibUndone = 0x0201002A, kEventServerUndone = 0x0201002C,
  kEventFontUndone = 0x0201002E, kEventHelpUndone = 0x02010030,
};

const char kHelpKey[] = "Software\\Microsoft\\Windows\\Help";

void Log(uint32_t code, std::initializer_list<const char*> args) {
  SetupLog::Instance().Event(code, args);
}

// The file's own folder is current during a registration call.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::string& file) {
    saved_ok_ = GetCurrentDirectoryA(sizeof(saved_), saved_) != 0;
    const size_t slash = file.find_last_of('\\');
    if (slash != std::string::npos) SetCurrentDirectoryA(file.substr(0, slash ? slash : 1).c_str());
  }
  ~CurrentFolder() {
    if (saved_ok_) SetCurrentDirectoryA(saved_);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  char saved_[MAX_PATH] = "";
  bool saved_ok_ = false;
};

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StringOf(const RegValue& value) {
  std::string s = value.data;
  const size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

// The value names this file: its full or file-name form, long or short.
bool NamesFile(const std::string& stored, const std::string& path, const std::string& shortPath) {
  using scripttext::EqualsNoCase;
  return EqualsNoCase(stored, path) || EqualsNoCase(stored, FileName(path)) ||
         (!shortPath.empty() &&
          (EqualsNoCase(stored, shortPath) || EqualsNoCase(stored, FileName(shortPath))));
}

bool CallServerEntry(const std::string& path, const char* entry) {
  CurrentFolder folder(path);
  ScopedModule dll(LoadLibraryA(path.c_str()));  // the installed file, by its full path
  if (!dll) return false;
  typedef HRESULT(STDAPICALLTYPE * Entry)();
  Entry call = FindProc<Entry>(dll.get(), entry);
  return !call || SUCCEEDED(call());
}

typedef HRESULT(STDAPICALLTYPE* LoadTypeLibFn)(LPCOLESTR, ITypeLib**);
typedef HRESULT(STDAPICALLTYPE* RegisterTypeLibFn)(ITypeLib*, LPCOLESTR, LPCOLESTR);
typedef HRESULT(STDAPICALLTYPE* UnRegisterTypeLibFn)(REFGUID, WORD, WORD, LCID, SYSKIND);

bool TypeLibrary(const std::string& path, bool install) {
  CurrentFolder folder(path);
  ScopedModule oleaut(LoadSystemLibrary("OLEAUT32.DLL"));
  auto load = FindProc<LoadTypeLibFn>(oleaut.get(), "LoadTypeLib");
  auto reg = FindProc<RegisterTypeLibFn>(oleaut.get(), "RegisterTypeLib");
  auto unreg = FindProc<UnRegisterTypeLibFn>(oleaut.get(), "UnRegisterTypeLib");
  if (!load || !reg || !unreg) return false;
  std::wstring wide = WidePath(path);
  ITypeLib* lib = nullptr;
  if (FAILED(load(wide.c_str(), &lib)) || !lib) return false;
  bool ok;
  if (install) {
    ok = SUCCEEDED(reg(lib, &wide[0], nullptr));
  } else {
    TLIBATTR* attr = nullptr;
    ok = SUCCEEDED(lib->GetLibAttr(&attr)) && attr;
    if (ok) {
      ok = SUCCEEDED(unreg(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                           attr->syskind));
      lib->ReleaseTLibAttr(attr);
    }
  }
  lib->Release();
  return ok;
}

bool StartServer(const std::string& path, const char* argument) {
  CurrentFolder folder(path);
  const std::string command = "\"" + path + "\" " + argument;
  return WinExec(command.c_str(), SW_SHOWNORMAL) > 31;
}

// Deletes the value when it names this file; false when the key cannot
// be opened.
bool DeleteValueNaming(Registry& registry, const std::string& keyPath, const std::string& name,
                       const std::string& path) {
  auto key = registry.OpenKey(RegRoot::kLocalMachine, keyPath, true);
  if (!key) return false;
  RegValue value;
  if (key->QueryValue(name, &value) && IsRegStringType(value.type) &&
      NamesFile(StringOf(value), path, ShortPathName(path)))
    key->DeleteValue(name);
  return true;
}

bool SetString(RegistryKey& key, const std::string& name, const std::string& text) {
  return key.SetValue(name, kRegSz, text.c_str(), text.size() + 1);
}

}  // namespace

bool SetupEngine::RegisterFile(FileItem& item) {
  const std::string& path = item.target;
  const char* p = path.c_str();
  if (item.registration & kFileRegGroup) {
    ScriptGroup* group = script_.FindGroup(item.targetName);
    if (!group) {
      Log(kEventGroupMissing, {p, item.targetName.c_str()});
      return false;
    }
    if (!ApplyFileRegGroup(*group, *registry_).ok()) {
      Log(kEventGroupFailed, {p, item.targetName.c_str()});
      return false;
    }
    Log(kEventGroupApplied, {p, item.targetName.c_str()});
  }
  if (!pending_.empty()) return true;  // typed registrations wait for the restart
  switch (item.RegType()) {
    case kFileRegCom:
      if (!CallServerEntry(path, "DllRegisterServer")) return Log(kEventComFailed, {p}), false;
      Log(kEventComDone, {p});
      return true;
    case kFileRegTypeLib:
      if (!TypeLibrary(path, true)) return Log(kEventTypeLibFailed, {p}), false;
      Log(kEventTypeLibDone, {p});
      return true;
    case kFileRegServer:
      if (!StartServer(path, "/RegServer")) return Log(kEventServerFailed, {p}), false;
      Log(kEventServerDone, {p});
      return true;
    case kFileRegFont: {
      if (AddFontResourceA(p) == 0) return Log(kEventFontFailed, {p, item.fontName.c_str()}), false;
      fontsChanged_ = true;
      const std::string keyPath = Expand(symbols_.Value(kSymWinCurVerNT)) + "\\Fonts";
      if (auto key = registry_->CreateKey(RegRoot::kLocalMachine, keyPath))
        SetString(*key, item.fontName, (item.registration & kFileRegFontByName) ? FileName(path) : path);
      Log(kEventFontDone, {p, item.fontName.c_str()});
      return true;
    }
    case kFileRegHelp: {
      auto key = registry_->CreateKey(RegRoot::kLocalMachine, kHelpKey);
      if (!key) return Log(kEventHelpFailed, {p}), false;
      SetString(*key, FileName(path), path);
      Log(kEventHelpDone, {p});
      return true;
    }
    default:
      return true;
  }
}

void SetupEngine::UnregisterFile(FileItem& item) {
  if (item.HasWildcard()) return;
  const std::string& path = item.target;
  const char* p = path.c_str();
  if (item.registration & kFileRegGroup) {
    ScriptGroup* group = script_.FindGroup(item.targetName);
    if (!group)
      Log(kEventGroupMissingUndo, {p, item.targetName.c_str()});
    else if (!UndoFileRegGroup(*group, *registry_).ok())
      Log(kEventGroupFailedUndo, {p, item.targetName.c_str()});
    else
      Log(kEventGroupRemoved, {p, item.targetName.c_str()});
  }
  switch (item.RegType()) {
    case kFileRegCom:
      Log(CallServerEntry(path, "DllUnregisterServer") ? kEventComUndone : kEventComUndoFailed, {p});
      break;
    case kFileRegTypeLib:
      if (TypeLibrary(path, false)) Log(kEventTypeLibUndone, {p});
      break;
    case kFileRegServer:
      if (StartServer(path, "/UnregServer")) Log(kEventServerUndone, {p});
      break;
    case kFileRegFont: {
      RemoveFontResourceA(p);
      fontsChanged_ = true;
      const std::string keyPath = Expand(symbols_.Value(kSymWinCurVerNT)) + "\\Fonts";
      if (DeleteValueNaming(*registry_, keyPath, item.fontName, path))
        Log(kEventFontUndone, {p, item.fontName.c_str()});
      break;
    }
    case kFileRegHelp:
      if (DeleteValueNaming(*registry_, kHelpKey, FileName(path), path)) Log(kEventHelpUndone, {p});
      break;
    default:
      break;
  }
}

bool SetupEngine::RegisterFiles() {
  BeginRun();
  if (!pending_.empty()) Log(kEventRegistrationsDeferred, {});
  for (auto& section : fileSections_) {
    for (auto& item : section->items) {
      if (item->status <= 0) continue;
      if (item->target.empty()) ResolveTarget(*section, *item);
      if (!RegisterFile(*item)) {
        ShowMessage(kStrRegisterFailed, item->target, MessageKind::kNotice);
        return StepFailed(kErrorClassRegisterFiles);
      }
    }
  }
  return true;
}

void SetupEngine::UnregisterFiles() {
  BeginRun();
  for (auto& section : fileSections_) {
    for (auto& item : section->items) {
      if (item->status <= 0) continue;
      ResolveTarget(*section, *item);
      if (DecideRemoval(*item, RemovalMode::kQuery, *counts_, IsFileProtected(item->target)).remove)
        UnregisterFile(*item);
    }
  }
}
