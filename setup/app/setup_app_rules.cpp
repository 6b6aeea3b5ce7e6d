#include "setup/app/setup_app_rules.h"

#include <cstdlib>

void RecordExitCode(int& field, int code) {
  if ((code == 3 || code == 5 || code == 6) && field != 0) return;
  field = code;
}

uint16_t ParseUserLanguage(const char* hexText) {
  if (!hexText || !*hexText) return 0x0409;
  char* end = nullptr;
  const unsigned long value = std::strtoul(hexText, &end, 16);
  if (end == hexText || value == 0 || value > 0xFFFF) return 0x0409;
  return uint16_t(value);
}

int SelectLanguage(const std::vector<LanguageEntry>& entries, uint16_t userLanguage,
                   bool installedCopy, std::vector<int>* offered) {
  if (offered) offered->clear();
  if (installedCopy) {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].flags & kLangUsed) return int(i);
    return -1;
  }
  int chosen = -1, exact = -1, primary = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!(entries[i].flags & kLangOnSystem)) continue;
    if (offered) offered->push_back(int(i));
    if (chosen < 0) chosen = int(i);
    if (entries[i].id == userLanguage) exact = int(i);
    if (primary < 0 && (entries[i].id & 0x3FF) == (userLanguage & 0x3FF)) primary = int(i);
  }
  if (exact >= 0) return exact;
  if (primary >= 0) return primary;
  return chosen;
}

LanguageResources LanguageResourcesOf(uint32_t flags) {
  if (flags & kLangBuiltIn) return LanguageResources::kOwn;
  if ((flags & kLangNoLanguage) || !(flags & kLangHasDll)) return LanguageResources::kOwn;
  return LanguageResources::kDll;
}

namespace {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::string s(suffix);
  if (text.size() < s.size()) return false;
  for (size_t i = 0; i < s.size(); ++i)
    if (Lower(text[text.size() - s.size() + i]) != Lower(s[i])) return false;
  return true;
}

}  // namespace

bool ProcessNameMatches(const std::string& processExe, const std::string& applicationPath) {
  const std::string a = FileNameOf(processExe), b = FileNameOf(applicationPath);
  if (a.empty() || b.empty()) return false;
  for (size_t i = 0; i < 15; ++i) {
    const char x = i < a.size() ? Lower(a[i]) : '\0';
    const char y = i < b.size() ? Lower(b[i]) : '\0';
    if (x != y) return false;
    if (!x) break;
  }
  return true;
}

ScriptKind ScriptKindOf(const std::string& path) {
  if (EndsWithNoCase(path, ".kvz")) return ScriptKind::kArchive;
  if (EndsWithNoCase(path, ".ini")) return ScriptKind::kPlainScript;
  return ScriptKind::kUnknown;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return std::string();
  // Keep the root's backslash ("C:\").
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

bool ShouldRestart(int restartMode, bool restartNeeded) {
  return restartMode >= 2 || (restartMode >= 1 && restartNeeded);
}
