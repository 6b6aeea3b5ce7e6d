// Reading a script and applying its rules in one step, with the reason of
// a failure written to the setup log (the caller shows message 131).
#pragma once

#include <cstddef>

#include "setup/engine/script_load.h"

// path names the file for the log; data is the copy read from the archive.
bool OpenScriptMemory(const char* path, const void* data, size_t size, SetupScript& script,
                      SymbolTable& symbols, SymbolLookups& lookups,
                      ScriptSectionReaders& readers,
                      const std::function<bool(uint16_t)>& localeInstalled,
                      LoadedScript* loaded, ScriptLoadFailure* failure = nullptr);
bool OpenScriptFile(const char* path, SetupScript& script, SymbolTable& symbols,
                    SymbolLookups& lookups, ScriptSectionReaders& readers,
                    const std::function<bool(uint16_t)>& localeInstalled,
                    LoadedScript* loaded, ScriptLoadFailure* failure = nullptr);
