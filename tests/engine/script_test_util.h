// Helpers of the script tests: parse a text through the line interface the
// way the file reader feeds it (CR dropped, lines of at most 4095 bytes),
// and describe a script's structure so two scripts compare in one string.
#pragma once

#include <string>

#include "setup/engine/script.h"

namespace scripttest {

inline void Parse(SetupScript& script, const std::string& text) {
  script.Clear();
  std::string line;
  bool continuation = false;
  auto flush = [&] {
    script.AddLine(line, continuation);
    continuation = line.size() == kMaxScriptLine && line.back() != '\n';
    line.clear();
  };
  for (char c : text) {
    if (c == '\r') continue;
    line += c;
    if (c == '\n' || line.size() == kMaxScriptLine) flush();
  }
  if (!line.empty()) flush();
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
