#include "setup/engine/script_languages.h"

#include <cstdio>

#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

static uint16_t ParseLanguageId(const std::string& key) {
  uint32_t v = 0;
  for (char c : key) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else break;
    v = (v << 4) | uint32_t(digit);
    if (v > 0xFFFF) return 0;  // not a language id
  }
  return uint16_t(v);
}

std::vector<LanguageEntry> ReadLanguages(SetupScript& script,
                                         const std::function<bool(uint16_t)>& localeInstalled) {
  std::vector<LanguageEntry> entries;
  ScriptSection* section = script.Section("Languages");
  if (!section) return entries;
  for (const auto& item : section->items) {
    if (!item->hasValue) continue;
    auto f = scripttext::SplitFields(item->value);
    if (f.size() < 7) continue;
    LanguageEntry e;
    e.id = ParseLanguageId(item->key);
    e.flags = scripttext::ParseUInt(f[0]) & ~uint32_t(kLangOnSystem);
    if (localeInstalled && localeInstalled(e.id)) e.flags |= kLangOnSystem;
    e.number = uint16_t(scripttext::ParseUInt(f[1]));
    e.name1 = std::string(f[2]);
    e.name2 = std::string(f[3]);
    e.dll = std::string(f[4]);
    e.readme = std::string(f[5]);
    e.licence = std::string(f[6]);
    e.item = item.get();
    entries.push_back(std::move(e));
  }
  return entries;
}

void StoreLanguage(const LanguageEntry& e) {
  if (!e.item) return;
  char key[8];
  snprintf(key, sizeof(key), "%04X", unsigned(e.id));
  e.item->key = key;
  e.item->SetValue(std::to_string(e.flags) + "|" + std::to_string(e.number) + "|" + e.name1 +
                   "|" + e.name2 + "|" + e.dll + "|" + e.readme + "|" + e.licence);
}
