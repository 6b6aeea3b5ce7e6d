#include <windows.h>

#include "setup/engine/expand_system_lookups.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script_languages.h"
#include "setup/engine/setup_engine.h"
#include "setup/engine/symbol_runtime.h"

std::unique_ptr<SetupEngine> SetupEngine::ForRunningSystem() {
  auto engine = std::make_unique<SetupEngine>(::RunningOsFlag(), std::make_unique<SystemSymbolLookups>());
  engine->SetLocaleTest(LocaleInstalled);
  return engine;
}

bool SetupEngine::SetRuntimeSymbols() {
  RuntimeFolders folders;
  if (!ReadRuntimeFolders(&folders)) return false;
  defaultAppFolder_ = ::SetRuntimeSymbols(symbols_, folders);
  return true;
}
