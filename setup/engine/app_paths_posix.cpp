// Linux stand-in: no system registry to register in.
#include "setup/engine/app_paths.h"

bool RegisterAppPathsFromScript(const ScriptSection&, SettingsContext&) { return false; }
bool RemoveAppPathsEntryForFile(const std::string&) { return false; }
