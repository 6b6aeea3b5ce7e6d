// Helpers of the script tests: parse a text through the line interface the
// way the file reader feeds it (CR dropped, lines of at most 4095 bytes),
// and describe a script's structure so two scripts compare in one string.
#pragma once

#include <string>

#include "setup/engine/script.h"

namespace scripttest {

// A small script with every kind of line: leading items, a comment, an
// empty section, a section comment, readme lines and two named groups.
inline const char kSampleScript[] =
    "Version=2.67.1412\n"
    "; built by hand\n"
    "[Symbols]\n"
    "AppTitle=2|255|Tool\n"
    "AppFolder=1|255|<ProgramFiles>\\Tool\n"
    "[Empty]\n"
    "[Files] ; main program\n"
    "InstallDir=<AppFolder>\n"
    "File=tool.exe|100|3|2|0|0=tool.exe|0|-1|247|32||\n"
    "[Readme]\n"
    "=First line\n"
    "=   indented\n"
    "[[Registry]]\n"
    "REGEDIT4\n"
    "[HKEY_CURRENT_USER\\Software\\Tool]\n"
    "\"Language\"=\"English\"\n"
    "[[tool.exe]]\n";


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
