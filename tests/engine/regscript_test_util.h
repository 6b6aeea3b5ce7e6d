// Shared by the settings tests: a script group from text and a settings
// context with a few fixed symbols and a chosen running system.
#pragma once

#include <map>
#include <string>

#include "setup/engine/regscript_context.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

namespace kvtest {

class FixedContext : public SettingsContext {
 public:
  explicit FixedContext(uint32_t runningOsFlag = 0x40) : os(runningOsFlag) {}
  uint32_t os;
  std::map<std::string, std::string> symbols = {
      {"<AppFolder>", "C:\\Program Files\\Kelvo"},
      {"<Company>", "Quorlan Soft"},
      {"<AppTitle>", "Kelvo Remover 2004 Lite"},
  };
  std::string Expand(std::string_view text) override {
    std::string s(text);
    for (const auto& [ref, value] : symbols) {
      for (size_t at; (at = s.find(ref)) != std::string::npos;) s.replace(at, ref.size(), value);
    }
    return s;
  }
  bool OsMatches(uint32_t flags) override { return (flags & os) != 0; }
  bool Is9xFamily() override { return (os & 0x0F) != 0; }
};

// A script holding the text; the group is the first named one.
struct TextScript {
  explicit TextScript(const std::string& text) { LoadScriptMemory(script, text.data(), text.size()); }
  ScriptGroup& Group(const char* name = "Registry") { return *script.FindGroup(name); }
  SetupScript script;
};

}  // namespace kvtest
