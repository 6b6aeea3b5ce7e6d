// A SymbolLookups answering from tables, counting how often it was asked.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "setup/engine/expand.h"

namespace expandtest {

class FakeLookups : public SymbolLookups {
 public:
  std::map<std::string, std::string> env;
  std::map<std::tuple<RegRoot, std::string, std::string>, std::string> registry;
  std::map<std::tuple<std::string, std::string, std::string>, std::string> ini;
  int calls = 0;

  std::string Environment(const std::string& name) override {
    ++calls;
    auto it = env.find(name);
    return it == env.end() ? "" : it->second;
  }
  std::string RegistryValue(RegRoot root, const std::string& key,
                            const std::string& value) override {
    ++calls;
    auto it = registry.find({root, key, value});
    return it == registry.end() ? "" : it->second;
  }
  std::string IniValue(const std::string& file, const std::string& section,
                       const std::string& key) override {
    ++calls;
    auto it = ini.find({file, section, key});
    return it == ini.end() ? "" : it->second;
  }
};

}  // namespace expandtest
