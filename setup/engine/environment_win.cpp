// The environment step on the running system: the registry on NT with a
// settings-change broadcast, AUTOEXEC.BAT on 9x.
#include <windows.h>

#include "setup/app/setup_log.h"
#include "setup/engine/environment.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

#define KV_SOURCE_ID 7402

namespace {

// Tell running programs the environment changed. A hung window must not
// hold up setup: abort-if-hung with a 2-second limit per window.
void BroadcastEnvironmentChange() {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                      reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG, 2000, &result);
}

EnvironmentPass RegistryPass(ScriptSection& section, Registry& registry,
                             SettingsContext& context, bool install) {
  EnvironmentPass pass = install ? ApplyEnvironmentRegistry(section, registry, context)
                                 : UndoEnvironmentRegistry(section, registry, context);
  if (!pass.ok) KV_TRACE(kError, "cannot open the system environment key");
  if (pass.linesDone > 0) BroadcastEnvironmentChange();
  return pass;
}

// Written beside the target first, so a failed write leaves the old file.
bool SaveReplacing(const SetupScript& doc, const std::string& path) {
  std::string temp = path + ".kv$";
  if (!SaveScriptFile(doc, temp.c_str())) {
    DeleteFileA(temp.c_str());
    return false;
  }
  DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(path.c_str(), attrs & ~DWORD(FILE_ATTRIBUTE_READONLY |
                                                    FILE_ATTRIBUTE_HIDDEN |
                                                    FILE_ATTRIBUTE_SYSTEM));
    if (!DeleteFileA(path.c_str())) {
      DeleteFileA(temp.c_str());
      return false;
    }
  }
  if (!MoveFileA(temp.c_str(), path.c_str())) {
    KV_TRACE(kError, "cannot replace %s (error %lu)", path.c_str(), GetLastError());
    return false;
  }
  return true;
}

bool HasSettings(const ScriptSection* section) { return section && !section->items.empty(); }

}  // namespace

EnvironmentPass UpdateAutoexecFile(ScriptSection& section, SettingsContext& context,
                                   const std::string& path, bool install) {
  EnvironmentPass pass;
  SetupScript doc;
  // A missing file is an empty one; one that exists but cannot be read
  // must not be replaced by what little was read.
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      !LoadScriptFile(doc, path.c_str())) {
    KV_TRACE(kError, "cannot read %s", path.c_str());
    pass.ok = false;
    return pass;
  }
  pass = install ? ApplyEnvironmentAutoexec(section, doc, context)
                 : UndoEnvironmentAutoexec(section, doc, context);
  if (pass.linesDone > 0 && !SaveReplacing(doc, path)) {
    KV_TRACE(kError, "cannot write %s", path.c_str());
    pass.ok = false;
  }
  return pass;
}

static EnvironmentPass Run(ScriptSection& section, Registry& registry, SettingsContext& context,
                           const std::string& winDrive, bool install) {
  if (!HasSettings(&section)) return EnvironmentPass();
  if (!context.Is9xFamily()) return RegistryPass(section, registry, context, install);
  // The root of the Windows drive; a Windows folder on a share has none.
  char drive = winDrive.size() >= 2 && winDrive[1] == ':' ? winDrive[0] : 'C';
  char path[MAX_PATH];
  wsprintfA(path, "%c:\\AUTOEXEC.BAT", drive);
  return UpdateAutoexecFile(section, context, path, install);
}

EnvironmentPass ApplyEnvironment(ScriptSection& section, Registry& registry,
                                 SettingsContext& context, const std::string& winDrive) {
  return Run(section, registry, context, winDrive, true);
}

EnvironmentPass UndoEnvironment(ScriptSection& section, Registry& registry,
                                SettingsContext& context, const std::string& winDrive) {
  return Run(section, registry, context, winDrive, false);
}
