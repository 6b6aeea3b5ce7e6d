#include "setup/engine/ini_values.h"

#include "setup/app/setup_log.h"
#include "setup/engine/regscript_data.h"
#include "setup/engine/regscript_list.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

#define KV_SOURCE_ID 7404

bool ParseIniValueLine(std::string_view text, IniValueLine* line) {
  std::string_view names[3];
  if (!TakeListLineHead(&text, line) || !TakeFields(&text, names, 3) || text.empty()) return false;
  line->file.assign(names[0].data(), names[0].size());
  line->section.assign(names[1].data(), names[1].size());
  line->key.assign(names[2].data(), names[2].size());
  line->value.assign(text.data(), text.size());
  return true;
}

std::string FormatIniValueLine(const IniValueLine& l) {
  return FormatListLineHead(l) + l.file + "|" + l.section + "|" + l.key + "|" + l.value;
}

namespace {

struct IniWork {
  ScriptItem* item;
  IniValueLine line;
  std::string file, section, key, value;
  char separator;
};

template <typename Fn>
void ForEachLine(ScriptSection& section, SettingsContext& context, bool install, Fn fn) {
  for (const auto& itemPtr : section.items) {
    ScriptItem& item = *itemPtr;
    IniWork w{&item, {}, {}, {}, {}, {}, 0};
    if (!item.hasValue || !scripttext::EqualsNoCase(item.key, "Value") ||
        !ParseIniValueLine(item.value, &w.line)) {
      continue;
    }
    if (!context.OsMatches(w.line.osFlags)) continue;
    if (!install && !w.line.applied) continue;
    w.file = context.Expand(w.line.file);
    w.section = context.Expand(w.line.section);
    w.key = context.Expand(w.line.key);
    w.value = (w.line.flags & kRegFlagNoExpand) ? w.line.value : context.Expand(w.line.value);
    if (w.file.empty() || w.section.empty() || w.key.empty()) continue;
    w.separator = char(w.line.separator & 0xFF);
    fn(w);
  }
}

}  // namespace

IniValuesPass ApplyIniValues(ScriptSection& section, IniFiles& files, SettingsContext& context) {
  IniValuesPass pass;
  ForEachLine(section, context, true, [&](IniWork& w) {
    std::string old = files.Read(w.file, w.section, w.key);
    if (!old.empty() && w.line.mode == kModeIfMissing) return;
    const std::string text =
        w.line.mode == kModeAppend ? AppendListElement(old, w.separator, w.value) : w.value;
    if (!files.Write(w.file, w.section, w.key, text)) {
      KV_TRACE(kWarn, "cannot write [%s] %s in %s", w.section.c_str(), w.key.c_str(),
               w.file.c_str());
      return;
    }
    w.line.applied = 1;
    w.item->SetValue(FormatIniValueLine(w.line));
    pass.scriptChanged = true;
    ++pass.linesDone;
  });
  return pass;
}

IniValuesPass UndoIniValues(ScriptSection& section, IniFiles& files, SettingsContext& context) {
  IniValuesPass pass;
  ForEachLine(section, context, false, [&](IniWork& w) {
    std::string old = files.Read(w.file, w.section, w.key);
    if (!old.empty() && w.line.mode == kModeAppend) {
      RemoveListElement(&old, w.value, w.separator);
      if (!old.empty()) {
        if (files.Write(w.file, w.section, w.key, old)) ++pass.linesDone;
        return;
      }
    }
    files.DeleteKey(w.file, w.section, w.key);
    if (files.SectionIsEmpty(w.file, w.section)) files.DeleteSection(w.file, w.section);
    files.DeleteFileIfEmpty(w.file);
    ++pass.linesDone;
  });
  return pass;
}
