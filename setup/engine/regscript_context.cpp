#include "setup/engine/regscript_context.h"

#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/symbol.h"

std::string SymbolSettingsContext::Expand(std::string_view text) {
  return ExpandSymbols(text, symbols_, lookups_);
}

bool SymbolSettingsContext::OsMatches(uint32_t osFlags) {
  return OsFlagsMatch(osFlags, symbols_.RunningOsFlag());
}

bool SymbolSettingsContext::Is9xFamily() {
  return (symbols_.RunningOsFlag() & osflags::kFamily9x) != 0;
}
