#include "setup/engine/uninstall_records.h"

#include <cstdio>

#include "setup/engine/install_options.h"
#include "setup/engine/registry_access.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

void RecordUninstallDir(SetupScript& script, const std::string& folder) {
  script.Section(kUninstallDirsSection, true)->Append("Directory", folder);
}

std::vector<std::string> ReadUninstallDirs(const SetupScript& script) {
  std::vector<std::string> dirs;
  const ScriptSection* section = script.Section(kUninstallDirsSection);
  if (!section) return dirs;
  for (const auto& item : section->items) {
    if (!item->hasValue || item->value.empty()) continue;
    if (!scripttext::EqualsNoCase(item->key, "Directory")) continue;
    dirs.push_back(item->value);
  }
  return dirs;
}

std::string FormatTimestamp(unsigned year, unsigned month, unsigned day, unsigned hour,
                            unsigned minute, unsigned second) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", year, month, day, hour,
                minute, second);
  return text;
}

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ContainsNoCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (scripttext::EqualsNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

// Decimal digits from `at`; wraps like the system's own conversion would
// rather than failing on absurd lengths.
uint32_t Digits(std::string_view s, size_t* at) {
  uint32_t n = 0;
  while (*at < s.size() && IsDigit(s[*at])) n = n * 10 + uint32_t(s[(*at)++] - '0');
  return n;
}
}  // namespace

AppVersionNumbers ParseAppVersion(std::string_view version) {
  AppVersionNumbers v;
  size_t at = 0;
  v.major = Digits(version, &at);
  if (at < version.size()) {
    ++at;  // the separator, whatever it is
    v.hasMinor = true;
    v.minor = Digits(version, &at);
  }
  return v;
}

std::vector<UninstallValue> UninstallEntryValues(const UninstallEntryInput& in) {
  std::vector<UninstallValue> values;
  auto text = [&](const char* name, const std::string& value, bool required = false) {
    UninstallValue v;
    v.name = name;
    v.text = value;
    v.required = required;
    values.push_back(v);
  };
  auto dword = [&](const char* name, uint32_t value) {
    UninstallValue v;
    v.name = name;
    v.isDword = true;
    v.dword = value;
    values.push_back(v);
  };
  text("DisplayName", in.displayName, true);
  text("UninstallString", in.setupShortPath + " /remove", true);
  if (!in.timestamp.empty()) text("InstallDate", in.timestamp);
  text("InstallLocation", in.appFolder);
  text("InstallSource", in.sourceFolder);
  if (!in.displayIcon.empty()) text("DisplayIcon", in.displayIcon);
  text("DisplayVersion", in.version);
  const AppVersionNumbers numbers = ParseAppVersion(in.version);
  dword("VersionMajor", numbers.major);
  if (numbers.hasMinor) dword("VersionMinor", numbers.minor);
  text("Publisher", in.company);
  if (in.options & kOptShowWebSite) {
    text("HelpLink", in.webSite);
    text("URLInfoAbout", in.webSite);
    text("URLUpdateInfo", in.webSite);
  }
  if (in.options & kOptShowEmail) text("Contact", in.email);
  if (in.options & kOptShowTelephone) text("HelpTelephone", in.telephone);
  return values;
}

std::string RunOnceValueName(uint64_t fileTime) {
  char name[32];
  std::snprintf(name, sizeof name, "QEX%08lX%08lX", static_cast<unsigned long>(fileTime >> 32),
                static_cast<unsigned long>(fileTime & 0xFFFFFFFFu));
  return name;
}

bool SplitKeyPath(std::string_view path, std::string* root, std::string* parent,
                  std::string* leaf) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  const size_t first = path.find('\\');
  const size_t last = path.rfind('\\');
  if (first == std::string_view::npos || first == 0 || last + 1 >= path.size()) return false;
  root->assign(path.substr(0, first));
  parent->assign(last > first ? path.substr(first + 1, last - first - 1) : std::string_view());
  leaf->assign(path.substr(last + 1));
  return true;
}

bool ShouldLookForPrevious(int upgradeLevel, bool findPreviousOption) {
  return upgradeLevel < 3 && (findPreviousOption || upgradeLevel >= 0);
}

std::string PreviousUninstallCommand(const std::string& uninstallString, bool* recognised) {
  *recognised = ContainsNoCase(uninstallString, " /remove");
  return *recognised ? uninstallString + " /q /u" : uninstallString;
}

bool QuietRunRemovesPrevious(int upgradeLevel, bool recognised) {
  return upgradeLevel != 0 && (upgradeLevel >= 2 || recognised);
}

bool WriteUninstallEntry(Registry& registry, const std::string& keyPath,
                         const std::vector<UninstallValue>& values) {
  std::string rootName, parent, leaf;
  if (!SplitKeyPath(keyPath, &rootName, &parent, &leaf)) return false;
  const RegRoot root = RegRootFromName(rootName);
  if (root == RegRoot::kNone) return false;
  auto key = registry.CreateKey(root, parent.empty() ? leaf : parent + "\\" + leaf);
  if (!key) return false;
  for (const UninstallValue& v : values) {
    const bool ok = v.isDword ? key->SetValue(v.name, kRegDword, &v.dword, sizeof v.dword)
                              : key->SetValue(v.name, kRegSz, v.text.c_str(), v.text.size() + 1);
    if (!ok && v.required) return false;
  }
  return true;
}
