#include "setup/engine/environment.h"

#include <memory>

#include "setup/app/setup_log.h"
#include "setup/engine/regscript_data.h"
#include "setup/engine/regscript_list.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

#define KV_SOURCE_ID 7403

const char kEnvironmentKeyPath[] =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

bool ParseEnvironmentLine(std::string_view text, EnvironmentLine* line) {
  if (!TakeListLineHead(&text, line) || text.empty()) return false;
  line->value.assign(text.data(), text.size());
  return true;
}

std::string FormatEnvironmentLine(const EnvironmentLine& l) {
  return FormatListLineHead(l) + l.value;
}

namespace {

// One applicable line with its name and value expanded.
struct EnvWork {
  ScriptItem* item;
  EnvironmentLine line;
  std::string name;
  std::string value;
  char separator;
};

// Calls fn for each line that applies in this pass.
template <typename Fn>
void ForEachLine(ScriptSection& section, SettingsContext& context, bool install, Fn fn) {
  for (const auto& itemPtr : section.items) {
    ScriptItem& item = *itemPtr;
    EnvWork w{&item, {}, {}, {}, 0};
    if (item.key.empty() || !item.hasValue || !ParseEnvironmentLine(item.value, &w.line)) continue;
    if (!context.OsMatches(w.line.osFlags)) continue;
    if (!install && !w.line.applied) continue;
    w.name = context.Expand(item.key);
    w.value = (w.line.flags & kRegFlagNoExpand) ? w.line.value : context.Expand(w.line.value);
    if (w.name.empty() || w.value.empty()) continue;
    w.separator = char(w.line.separator & 0xFF);
    fn(w);
  }
}

void MarkApplied(EnvWork& w, EnvironmentPass& pass) {
  w.line.applied = 1;
  w.item->SetValue(FormatEnvironmentLine(w.line));
  pass.scriptChanged = true;
}

std::string TextOf(const RegValue& v) {
  std::string s = v.data;
  size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

bool WriteText(RegistryKey& key, const std::string& name, uint32_t type, const std::string& text) {
  return key.SetValue(name, type, text.c_str(), text.size() + 1);
}

// --- AUTOEXEC.BAT ---

bool StartsWithWord(std::string_view s, std::string_view word, std::string_view* rest) {
  if (s.size() <= word.size() || !scripttext::EqualsNoCase(s.substr(0, word.size()), word) ||
      (s[word.size()] != ' ' && s[word.size()] != '\t')) {
    return false;
  }
  *rest = scripttext::Trim(s.substr(word.size()));
  return true;
}

// The line that sets the variable: "NAME=...", "SET NAME=...", or for
// PATH also "PATH dir;dir". *old receives its current text.
ScriptItem* FindSetting(ScriptSection& lines, const std::string& name, std::string* old) {
  for (const auto& i : lines.items) {
    if (i->hasValue && scripttext::EqualsNoCase(i->key, name)) {
      *old = i->value;
      return i.get();
    }
  }
  for (const auto& i : lines.items) {
    std::string_view rest;
    if (StartsWithWord(i->key, "SET", &rest) && scripttext::EqualsNoCase(rest, name)) {
      *old = i->hasValue ? i->value : std::string();
      return i.get();
    }
  }
  if (scripttext::EqualsNoCase(name, "PATH")) {
    for (const auto& i : lines.items) {
      std::string_view rest;
      if (!i->hasValue && StartsWithWord(i->key, "PATH", &rest)) {
        old->assign(rest.data(), rest.size());
        return i.get();
      }
    }
  }
  return nullptr;
}

void EraseItem(ScriptSection& lines, const ScriptItem* item) {
  for (auto it = lines.items.begin(); it != lines.items.end(); ++it) {
    if (it->get() == item) {
      lines.items.erase(it);
      return;
    }
  }
}

}  // namespace

EnvironmentPass ApplyEnvironmentRegistry(ScriptSection& section, Registry& registry,
                                         SettingsContext& context) {
  EnvironmentPass pass;
  std::unique_ptr<RegistryKey> key = registry.CreateKey(RegRoot::kLocalMachine, kEnvironmentKeyPath);
  if (!key) {
    pass.ok = false;
    return pass;
  }
  ForEachLine(section, context, true, [&](EnvWork& w) {
    RegValue old;
    bool exists = key->QueryValue(w.name, &old);
    if (exists && w.line.mode == kModeIfMissing) return;  // stays unapplied
    std::string text = w.value;
    uint32_t type = text.find('%') != std::string::npos ? kRegExpandSz : kRegSz;
    if (exists && w.line.mode == kModeAppend) {
      if (old.type != kRegSz && old.type != kRegExpandSz) {
        KV_TRACE(kWarn, "environment variable %s is not text: not appended", w.name.c_str());
        return;
      }
      text = AppendListElement(TextOf(old), w.separator, w.value);
      if (old.type == kRegExpandSz) type = kRegExpandSz;
    }
    if (!WriteText(*key, w.name, type, text)) {
      KV_TRACE(kWarn, "cannot set environment variable %s", w.name.c_str());
      return;
    }
    MarkApplied(w, pass);
    ++pass.linesDone;
  });
  return pass;
}

EnvironmentPass UndoEnvironmentRegistry(ScriptSection& section, Registry& registry,
                                        SettingsContext& context) {
  EnvironmentPass pass;
  std::unique_ptr<RegistryKey> key = registry.CreateKey(RegRoot::kLocalMachine, kEnvironmentKeyPath);
  if (!key) {
    pass.ok = false;
    return pass;
  }
  ForEachLine(section, context, false, [&](EnvWork& w) {
    RegValue old;
    if (!key->QueryValue(w.name, &old)) return;  // already gone
    if (w.line.mode == kModeAppend) {
      if (old.type != kRegSz && old.type != kRegExpandSz) return;
      std::string text = TextOf(old);
      RemoveListElement(&text, w.value, w.separator);
      if (!text.empty()) {
        if (WriteText(*key, w.name, old.type, text)) ++pass.linesDone;
        return;
      }
    }
    if (key->DeleteValue(w.name)) ++pass.linesDone;
  });
  return pass;
}

EnvironmentPass ApplyEnvironmentAutoexec(ScriptSection& section, SetupScript& autoexec,
                                         SettingsContext& context) {
  EnvironmentPass pass;
  ScriptSection& lines = autoexec.Main().leading;
  ForEachLine(section, context, true, [&](EnvWork& w) {
    std::string old;
    ScriptItem* found = FindSetting(lines, w.name, &old);
    if (found && w.line.mode == kModeIfMissing) return;
    std::string text = found && w.line.mode == kModeAppend ? AppendListElement(old, w.separator, w.value)
                                                           : w.value;
    if (found) {
      found->key = "SET " + w.name;
      found->SetValue(text);
    } else {
      lines.Append("SET " + w.name, text);
    }
    MarkApplied(w, pass);
    ++pass.linesDone;
  });
  return pass;
}

EnvironmentPass UndoEnvironmentAutoexec(ScriptSection& section, SetupScript& autoexec,
                                        SettingsContext& context) {
  EnvironmentPass pass;
  ScriptSection& lines = autoexec.Main().leading;
  ForEachLine(section, context, false, [&](EnvWork& w) {
    std::string old;
    ScriptItem* found = FindSetting(lines, w.name, &old);
    if (!found) return;
    if (w.line.mode == kModeAppend) {
      RemoveListElement(&old, w.value, w.separator);
      if (!old.empty()) {
        found->key = "SET " + w.name;
        found->SetValue(old);
        ++pass.linesDone;
        return;
      }
    }
    EraseItem(lines, found);
    ++pass.linesDone;
  });
  return pass;
}
