// Helpers of the script tests: parse a text through the reader setup uses,
// and describe a script's structure so two scripts compare in one line.
#pragma once

#include <string>

#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

namespace scripttest {

inline void Parse(SetupScript& script, const std::string& text) {
  LoadScriptMemory(script, text.data(), text.size());
}

// Groups, sections and items with every field, one per line.
inline std::string Structure(const SetupScript& script) {
  std::string out;
  for (const auto& g : script.Groups()) {
    out += g->named ? "G[" + g->name + "]\n" : "G0\n";
    auto items = [&out](const ScriptSection& s) {
      for (const auto& i : s.items) {
        out += "  I{" + i->key + "}" + (i->hasValue ? "={" + i->value + "}" : "") + "\n";
      }
    };
    items(g->leading);
    for (const auto& s : g->sections) {
      out += " S[" + s->name + "]\n";
      items(*s);
    }
  }
  return out;
}

}  // namespace scripttest
