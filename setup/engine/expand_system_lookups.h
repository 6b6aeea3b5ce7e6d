// Windows only: the look-ups of <...> references on the running system.
#pragma once

#include "setup/engine/expand.h"

class SystemSymbolLookups : public SymbolLookups {
 public:
  // The variable's value; "" when it is not set.
  std::string Environment(const std::string& name) override;
  // REG_SZ as it is, REG_EXPAND_SZ expanded, REG_MULTI_SZ its first
  // string; any other type, a missing key or value gives "".
  std::string RegistryValue(RegRoot root, const std::string& keyPath,
                            const std::string& valueName) override;
  // GetPrivateProfileStringA with an empty default.
  std::string IniValue(const std::string& file, const std::string& section,
                       const std::string& key) override;
};
