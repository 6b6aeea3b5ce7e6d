#include "setup/engine/file_item.h"

#include <cstdio>
#include <cstring>

#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

ArchiveEntryHeader NoFileRecord() {
  ArchiveEntryHeader r;
  std::memset(&r, 0, sizeof(r));
  r.attributes = kNoFileRecord;
  return r;
}

bool ParseFileLine(std::string_view value, FileItem* item) {
  using namespace scripttext;
  const auto f = SplitFields(value);
  if (f.size() < 12) return false;
  item->source = std::string(f[0]);
  item->size = ParseUInt(f[1]);
  item->flags = ParseUInt(f[2]);
  item->replaceRule = ParseInt(f[3]);
  item->shared = ParseInt(f[4]);
  const std::string_view reg = f[5];
  item->registration = ParseInt(reg);
  const size_t eq = reg.find('=');
  item->targetName = eq == std::string_view::npos ? std::string() : std::string(reg.substr(eq + 1));
  item->status = ParseInt(f[6]);
  item->reserved = ParseInt(f[7]);
  item->osFlags = ParseUInt(f[8]);
  item->attributes = ParseUInt(f[9]);
  item->fontName = std::string(f[10]);
  item->languages = std::string(f[11]);
  return true;
}

std::string FormatFileLine(const FileItem& item) {
  const std::string& first = !item.target.empty()           ? item.target
                             : !item.expandedSource.empty() ? item.expandedSource
                                                            : item.source;
  char numbers[160];
  std::string line = first;
  std::snprintf(numbers, sizeof(numbers), "|%lu|%lu|%d|%d|%d=", static_cast<unsigned long>(item.size),
                static_cast<unsigned long>(item.flags), static_cast<int>(item.replaceRule),
                static_cast<int>(item.shared), static_cast<int>(item.registration));
  line += numbers;
  line += item.targetName;
  std::snprintf(numbers, sizeof(numbers), "|%d|%d|%lu|%lu|", static_cast<int>(item.status),
                static_cast<int>(item.reserved), static_cast<unsigned long>(item.osFlags),
                static_cast<unsigned long>(item.attributes));
  line += numbers;
  line += item.fontName;
  line += '|';
  line += item.languages;
  return line;
}

void StoreFileItem(const FileItem& item) {
  if (item.item) item.item->SetValue(FormatFileLine(item));
}

bool LanguageListEmpty(std::string_view languages) {
  const size_t eq = languages.find('=');
  return eq == std::string_view::npos || eq + 1 >= languages.size();
}

bool LanguageListed(std::string_view languages, uint32_t languageId) {
  const size_t eq = languages.find('=');
  if (eq == std::string_view::npos) return false;
  size_t i = eq + 1;
  while (i < languages.size()) {
    uint32_t id = 0;
    bool digits = false;
    while (i < languages.size() && languages[i] >= '0' && languages[i] <= '9') {
      if (id < 0x10000000) id = id * 10 + uint32_t(languages[i] - '0');
      digits = true;
      ++i;
    }
    if (digits && id == languageId) return true;
    ++i;  // the single separator character
  }
  return false;
}

std::string_view FileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
