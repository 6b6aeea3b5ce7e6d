#include "setup/engine/script_open.h"

#include "setup/app/setup_log.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

#define KV_SOURCE_ID 7201

static bool Checked(const char* path, SetupScript& script, SymbolTable& symbols,
                    SymbolLookups& lookups, ScriptSectionReaders& readers,
                    const std::function<bool(uint16_t)>& localeInstalled,
                    LoadedScript* loaded, ScriptLoadFailure* failure) {
  ScriptLoadFailure local;
  ScriptLoadFailure& reason = failure ? *failure : local;
  if (ApplyScriptRules(script, symbols, lookups, readers, localeInstalled, loaded, &reason)) {
    return true;
  }
  KV_TRACE(kError, "script %s rejected: %s", path ? path : "",
           DescribeScriptLoadFailure(reason).c_str());
  return false;
}

bool OpenScriptMemory(const char* path, const void* data, size_t size, SetupScript& script,
                      SymbolTable& symbols, SymbolLookups& lookups,
                      ScriptSectionReaders& readers,
                      const std::function<bool(uint16_t)>& localeInstalled,
                      LoadedScript* loaded, ScriptLoadFailure* failure) {
  LoadScriptMemory(script, data, size);
  return Checked(path, script, symbols, lookups, readers, localeInstalled, loaded, failure);
}

bool OpenScriptFile(const char* path, SetupScript& script, SymbolTable& symbols,
                    SymbolLookups& lookups, ScriptSectionReaders& readers,
                    const std::function<bool(uint16_t)>& localeInstalled,
                    LoadedScript* loaded, ScriptLoadFailure* failure) {
  if (!LoadScriptFile(script, path)) {
    if (failure) {
      *failure = ScriptLoadFailure();
      failure->error = ScriptLoadError::kUnreadable;
    }
    KV_TRACE(kError, "script %s rejected: %s", path,
             ScriptLoadErrorText(ScriptLoadError::kUnreadable));
    return false;
  }
  return Checked(path, script, symbols, lookups, readers, localeInstalled, loaded, failure);
}
