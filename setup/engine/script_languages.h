// [Languages]: one user-interface language per line,
//   id=flags|number|name1|name2|dll|readme|licence
// with id as four hexadecimal digits. Lines with fewer than seven fields
// are ignored.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SetupScript;
struct ScriptItem;

enum LanguageFlag : uint32_t {
  kLangOnSystem = 0x1000,    // the locale is installed (asked at load, never read)
  kLangUsed = 0x2000,        // the entry the installation used
  kLangRightToLeft = 0x4000,
  kLangBuiltIn = 0x10000000,  // use the program's own resources
  kLangNoLanguage = 0x20000000,
  kLangHasDll = 0x40000000,
};

struct LanguageEntry {
  uint16_t id = 0;
  uint32_t flags = 0;
  uint16_t number = 0;  // carried and written back unchanged
  std::string name1, name2;
  std::string dll;  // archive entry; after extraction the extracted file
  std::string readme, licence;  // section names, empty for none
  ScriptItem* item = nullptr;

  // How the language list shows it: name2, a tab, name1.
  std::string ListText() const { return name2 + "\t" + name1; }
};

// Reads every usable line in script order; localeInstalled decides flag
// kLangOnSystem for each id.
std::vector<LanguageEntry> ReadLanguages(SetupScript& script,
                                         const std::function<bool(uint16_t)>& localeInstalled);
// Writes the entry back into its line ("%04X" key, "%lu|%u|%s|%s|%s|%s|%s").
void StoreLanguage(const LanguageEntry& entry);

// Windows only: whether the system has the locale of a language id.
bool LocaleInstalled(uint16_t languageId);
