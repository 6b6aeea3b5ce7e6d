#include "setup/engine/script_load.h"

#include "setup/engine/expand.h"
#include "setup/engine/script.h"
#include "setup/engine/symbol.h"

const char* ScriptLoadErrorText(ScriptLoadError error) {
  switch (error) {
    case ScriptLoadError::kNone: return "no error";
    case ScriptLoadError::kUnreadable: return "the script cannot be read";
    case ScriptLoadError::kWrongVersion: return "Version is not 2.67.1412";
    case ScriptLoadError::kNoAppTitle: return "AppTitle is empty";
    case ScriptLoadError::kNoAppFolder: return "AppFolder is empty";
    case ScriptLoadError::kFilesWithoutInstallDir: return "[Files] section without InstallDir";
    case ScriptLoadError::kShellLinkWithoutTitle: return "[ShellLink] section without Title";
    case ScriptLoadError::kActionWithoutTitle: return "[Action] section without Title";
    case ScriptLoadError::kBadSection: return "section cannot be read";
  }
  return "unknown error";
}

std::string DescribeScriptLoadFailure(const ScriptLoadFailure& failure) {
  std::string text = ScriptLoadErrorText(failure.error);
  if (failure.line) text += " (line " + std::to_string(failure.line) + ")";
  if (!failure.detail.empty()) text += ": " + failure.detail;
  return text;
}

static bool Fail(ScriptLoadFailure* failure, ScriptLoadError error, uint32_t line,
                 std::string detail = {}) {
  if (failure) {
    failure->error = error;
    failure->line = line;
    failure->detail = std::move(detail);
  }
  return false;
}

// Visits every section of group 0 with that name, in script order; a
// section without its required key fails before its reader sees it.
template <typename Read>
static bool ReadRepeated(SetupScript& script, const char* name, const char* requiredKey,
                         ScriptLoadError missing, ScriptLoadFailure* failure, Read read) {
  for (ScriptSection* s = script.Section(name); s; s = script.Main().NextSection(s)) {
    const ScriptItem* required = s->Find(requiredKey);
    if (!required || !required->hasValue || required->value.empty()) {
      return Fail(failure, missing, s->line, s->name);
    }
    ScriptLoadFailure reason;
    if (!read(*s, &reason)) {
      return Fail(failure, ScriptLoadError::kBadSection, reason.line ? reason.line : s->line,
                  reason.detail.empty() ? s->name : reason.detail);
    }
  }
  return true;
}

bool ApplyScriptRules(SetupScript& script, SymbolTable& symbols, SymbolLookups& lookups,
                      ScriptSectionReaders& readers,
                      const std::function<bool(uint16_t)>& localeInstalled,
                      LoadedScript* loaded, ScriptLoadFailure* failure) {
  LoadedScript local;
  LoadedScript& out = loaded ? *loaded : local;
  out = LoadedScript();

  const ScriptItem* version = script.Main().leading.Find("Version");
  if (!version || !version->hasValue || version->value != kScriptVersion) {
    return Fail(failure, ScriptLoadError::kWrongVersion, version ? version->line : 0,
                version ? (version->hasValue ? version->value : std::string()) : "missing");
  }

  out.install = ReadInstallSettings(script);
  symbols.Load(script);

  const std::string title = ExpandSymbol(kSymAppTitle, symbols, lookups);
  if (title.empty()) {
    const SetupSymbol* s = symbols.ById(kSymAppTitle);
    return Fail(failure, ScriptLoadError::kNoAppTitle, s && s->item ? s->item->line : 0);
  }
  if (ExpandSymbol(kSymAppFolder, symbols, lookups).empty()) {
    const SetupSymbol* s = symbols.ById(kSymAppFolder);
    return Fail(failure, ScriptLoadError::kNoAppFolder, s && s->item ? s->item->line : 0);
  }

  out.windowTitle = title + " " + ExpandSymbol(kSymAppVersion, symbols, lookups);
  if (out.install.Has(kOptShowWebSite)) {
    std::string web = ExpandSymbol(kSymWebSite, symbols, lookups);
    if (!web.empty()) out.about.webSite = web + "\n" + web;
  }
  if (out.install.Has(kOptShowEmail)) {
    std::string mail = ExpandSymbol(kSymEmail, symbols, lookups);
    if (!mail.empty()) out.about.email = mail + "\nmailto:" + mail;
  }
  if (out.install.Has(kOptShowTelephone)) {
    out.about.telephone = ExpandSymbol(kSymTelephone, symbols, lookups);
  }

  if (!ReadRepeated(script, "Files", "InstallDir", ScriptLoadError::kFilesWithoutInstallDir,
                    failure, [&](ScriptSection& s, ScriptLoadFailure* f) {
                      return readers.ReadFiles(s, f);
                    }) ||
      !ReadRepeated(script, "ShellLink", "Title", ScriptLoadError::kShellLinkWithoutTitle,
                    failure, [&](ScriptSection& s, ScriptLoadFailure* f) {
                      return readers.ReadShellLink(s, f);
                    }) ||
      !ReadRepeated(script, "Action", "Title", ScriptLoadError::kActionWithoutTitle, failure,
                    [&](ScriptSection& s, ScriptLoadFailure* f) {
                      return readers.ReadAction(s, f);
                    })) {
    return false;
  }

  out.languages = ReadLanguages(script, localeInstalled);
  out.extras = ReadExtrasSettings(script);
  if (const ScriptSection* readme = script.Section("Readme")) out.readme = readme->JoinValues();
  if (const ScriptSection* licence = script.Section("License")) out.licence = licence->JoinValues();
  if (failure) *failure = ScriptLoadFailure();
  return true;
}
