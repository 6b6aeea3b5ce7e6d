// The rules for a whole script once its lines are parsed: the version
// check, [Install], the symbol table, the required symbols, the window
// title and about lines, then the sections in the order the engine reads
// them. Any failure rejects the whole script with one reason, which the
// caller logs and reports (message 131).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "setup/engine/install_options.h"
#include "setup/engine/script_languages.h"

class ScriptSection;
class SetupScript;
class SymbolLookups;
class SymbolTable;

// The only script version this setup reads.
constexpr char kScriptVersion[] = "2.67.1412";

enum class ScriptLoadError {
  kNone,
  kUnreadable,            // the text could not be read at all
  kWrongVersion,          // Version missing or not kScriptVersion
  kNoAppTitle,            // symbol 2 expands to nothing
  kNoAppFolder,           // symbol 1 expands to nothing
  kFilesWithoutInstallDir,
  kShellLinkWithoutTitle,
  kActionWithoutTitle,
  kBadSection,            // a section reader rejected its section
};

struct ScriptLoadFailure {
  ScriptLoadError error = ScriptLoadError::kNone;
  uint32_t line = 0;   // script line of the cause; 0 when it has none
  std::string detail;  // what was found, or the section reader's reason
};

// "Version is not 2.67.1412", ... for the log.
const char* ScriptLoadErrorText(ScriptLoadError error);
// One line for the log: reason, line and detail.
std::string DescribeScriptLoadFailure(const ScriptLoadFailure& failure);

// The repeated sections belong to other parts of the engine; they are
// handed over in script order after the checks here. A reader that
// rejects its section fills in the detail (and line) of the failure.
class ScriptSectionReaders {
 public:
  virtual ~ScriptSectionReaders() = default;
  virtual bool ReadFiles(ScriptSection&, ScriptLoadFailure*) { return true; }
  virtual bool ReadShellLink(ScriptSection&, ScriptLoadFailure*) { return true; }
  virtual bool ReadAction(ScriptSection&, ScriptLoadFailure*) { return true; }
};

// The about box's three lines; empty ones are hidden. Links are
// "text\ntarget".
struct AboutLines {
  std::string webSite;    // Options 0x40
  std::string email;      // Options 0x80, target mailto:
  std::string telephone;  // Options 0x800
};

struct LoadedScript {
  InstallSettings install;
  std::string windowTitle;  // "AppTitle AppVersion"
  AboutLines about;
  std::vector<LanguageEntry> languages;
  ExtrasSettings extras;
  std::string readme, licence;
};

// Applies the rules to a parsed script and builds the symbol table.
// localeInstalled may be empty (no language counts as on the system).
bool ApplyScriptRules(SetupScript& script, SymbolTable& symbols, SymbolLookups& lookups,
                      ScriptSectionReaders& readers,
                      const std::function<bool(uint16_t)>& localeInstalled,
                      LoadedScript* loaded, ScriptLoadFailure* failure);
