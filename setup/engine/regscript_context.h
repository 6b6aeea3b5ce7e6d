// What the settings operations (registry script, environment, INI values,
// App Paths) need from the engine: the <...> expansion of script text and
// the running system's OS flag test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class SymbolTable;
class SymbolLookups;

class SettingsContext {
 public:
  virtual ~SettingsContext() = default;
  virtual std::string Expand(std::string_view text) = 0;
  virtual bool OsMatches(uint32_t osFlags) = 0;
  // 9x family: AUTOEXEC.BAT instead of the registry, short App Paths.
  virtual bool Is9xFamily() = 0;
};

// The engine's own: the script's symbols and the system's look-ups.
class SymbolSettingsContext : public SettingsContext {
 public:
  SymbolSettingsContext(const SymbolTable& symbols, SymbolLookups& lookups)
      : symbols_(symbols), lookups_(lookups) {}
  std::string Expand(std::string_view text) override;
  bool OsMatches(uint32_t osFlags) override;
  bool Is9xFamily() override;

 private:
  const SymbolTable& symbols_;
  SymbolLookups& lookups_;
};
