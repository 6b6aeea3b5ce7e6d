#include "setup/engine/regscript_walk.h"

#include <memory>

#include "setup/engine/script.h"

RegScriptStatus ParseRegKeyLine(std::string_view name, RegScriptKey* key, bool* skip) {
  *skip = false;
  std::string_view rest;
  if (!ParseRegPrefix(name, &key->prefix, &rest)) return kRegScriptBadPrefix;
  if (rest.empty()) {
    *skip = true;
    return kRegScriptOk;
  }
  size_t slash = rest.find('\\');
  std::string_view root = slash == std::string_view::npos ? rest : rest.substr(0, slash);
  key->root = RegRootFromName(root);
  if (key->root == RegRoot::kNone) return kRegScriptUnknownRoot;
  key->path = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
  return kRegScriptOk;
}

static RegScriptStatus FromDataStatus(RegDataStatus st) {
  return st == kRegDataTooLong ? kRegScriptDataTooLong : kRegScriptBadData;
}

RegScriptResult WalkRegScript(ScriptGroup& group, RegScriptHandler& handler) {
  RegScriptResult result;
  const ScriptItem* header = group.leading.Find("REGEDIT4");
  if (!header || header->hasValue) {
    result.status = kRegScriptNoHeader;
    result.line = group.line;
    return result;
  }
  // Heap-allocated: a 4 KB buffer is too much for the stack of a
  // window procedure that calls in here.
  std::unique_ptr<RegData> data(new RegData);
  for (const auto& sectionPtr : group.sections) {
    ScriptSection& section = *sectionPtr;
    if (section.name.empty()) continue;
    RegScriptKey key;
    key.section = &section;
    bool skip = false;
    result.status = ParseRegKeyLine(section.name, &key, &skip);
    result.line = section.line;
    if (!result.ok()) return result;
    if (skip) continue;
    if (!handler.OpenKey(key)) {
      result.status = kRegScriptHandlerFailed;
      return result;
    }
    auto& items = section.items;
    for (size_t i = 0; i < items.size(); ++i) {
      ScriptItem& item = *items[i];
      result.line = item.line;
      if (item.key.empty()) continue;
      RegScriptValue value;
      std::string_view rest;
      if (!ParseRegPrefix(item.key, &value.prefix, &rest)) {
        result.status = kRegScriptBadPrefix;
        return result;
      }
      value.hasPrefix = rest.size() != item.key.size();
      if (rest.empty()) continue;
      if (!item.hasValue) {
        result.status = kRegScriptBadLine;
        return result;
      }
      value.name = RegValueName(rest);
      // A byte list continues on following lines that carry no "=".
      size_t next = i + 1;
      RegContinuation more = [&](std::string_view* line) {
        if (next >= items.size()) return false;
        const ScriptItem& cont = *items[next];
        if (cont.hasValue || cont.key.empty()) return false;
        *line = cont.key;
        ++next;
        return true;
      };
      RegDataStatus st = ParseRegData(item.value, more, data.get());
      if (st != kRegDataOk) {
        result.status = FromDataStatus(st);
        return result;
      }
      i = next - 1;
      value.data = data.get();
      value.item = &item;
      if (!handler.Value(value)) {
        result.status = kRegScriptHandlerFailed;
        return result;
      }
    }
    if (!handler.CloseKey(key)) {
      result.status = kRegScriptHandlerFailed;
      return result;
    }
  }
  result.line = 0;
  return result;
}
