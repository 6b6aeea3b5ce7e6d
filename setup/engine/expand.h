// Expansion of <...> references in script values. A reference starts at a
// '<' followed by anything but white space or the end of the text, runs to
// its matching '>' and holds alternatives separated by '=':
//   !text                 the text itself
//   %NAME                 an environment variable
//   @ROOT\key path\value  a registry value (empty value name: the default)
//   #file?section?key     an INI value
//   name                  the expanded value of that symbol
// Each alternative's own text is expanded first, so references nest; the
// first alternative that adds anything wins. Nothing here touches the
// system: the look-ups come through SymbolLookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/engine/registry_root.h"

class SymbolTable;

namespace expandlimits {
// The result holds at most this many characters; the rest is cut.
constexpr size_t kMaxResult = 2047;
// An alternative's own text is cut to this many characters.
constexpr size_t kMaxAlternative = 519;
// Every reference level and every symbol indirection adds one; text at
// this depth or deeper is not copied, so self-references end.
constexpr int kMaxDepth = 16;
// Look-ups one expansion may make before it stops evaluating: alternatives
// of symbols that refer to each other many times would otherwise grow
// exponentially with the depth.
constexpr unsigned kMaxEvaluations = 4096;
}  // namespace expandlimits

// Where the values of references come from. Every answer is the text
// found, or "" for nothing (missing, unreadable, unsupported type).
class SymbolLookups {
 public:
  virtual ~SymbolLookups() = default;
  virtual std::string Environment(const std::string& name) = 0;
  virtual std::string RegistryValue(RegRoot root, const std::string& keyPath,
                                    const std::string& valueName) = 0;
  virtual std::string IniValue(const std::string& file, const std::string& section,
                               const std::string& key) = 0;
};

// Answers nothing: symbols and literals only.
class NoSymbolLookups : public SymbolLookups {
 public:
  std::string Environment(const std::string&) override { return {}; }
  std::string RegistryValue(RegRoot, const std::string&, const std::string&) override {
    return {};
  }
  std::string IniValue(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
};

// Splits "ROOT\key path\value name" (the text after '@'). Roots are
// recognised by prefix, long names first, then one optional backslash;
// the value name is the text after the last backslash. False for an
// unknown root.
bool ParseRegistryReference(std::string_view text, RegRoot* root,
                            std::string* keyPath, std::string* valueName);

// The expansion of text, at most expandlimits::kMaxResult characters.
std::string ExpandSymbols(std::string_view text, const SymbolTable& symbols,
                          SymbolLookups& lookups);
// The expanded value of the symbol with that id; "" when there is none.
std::string ExpandSymbol(int32_t id, const SymbolTable& symbols, SymbolLookups& lookups);
