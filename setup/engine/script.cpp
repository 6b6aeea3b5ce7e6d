#include "setup/engine/script.h"

#include "setup/engine/script_text.h"

using scripttext::EqualsNoCase;

// ---- ScriptSection ----

ScriptItem* ScriptSection::Find(std::string_view key) const {
  for (const auto& item : items) {
    if (!item->key.empty() && EqualsNoCase(item->key, key)) return item.get();
  }
  return nullptr;
}

std::string ScriptSection::GetText(std::string_view key, std::string_view def) const {
  const ScriptItem* item = Find(key);
  if (!item || !item->hasValue) return std::string(def);
  return item->value;
}

int32_t ScriptSection::GetInt(std::string_view key, int32_t def) const {
  const ScriptItem* item = Find(key);
  if (!item || !item->hasValue) return def;
  return scripttext::ParseInt(item->value);
}

uint32_t ScriptSection::GetUInt(std::string_view key, uint32_t def) const {
  const ScriptItem* item = Find(key);
  if (!item || !item->hasValue) return def;
  return scripttext::ParseUInt(item->value);
}

ScriptItem* ScriptSection::SetText(std::string_view key, std::string_view value) {
  if (ScriptItem* item = Find(key)) {
    item->SetValue(value);
    return item;
  }
  return Append(key, value);
}

ScriptItem* ScriptSection::SetInt(std::string_view key, int32_t value) {
  return SetText(key, std::to_string(value));
}

ScriptItem* ScriptSection::Append(std::string_view key, std::string_view value) {
  auto item = std::make_unique<ScriptItem>();
  item->key.assign(key.data(), key.size());
  item->SetValue(value);
  items.push_back(std::move(item));
  return items.back().get();
}

bool ScriptSection::Remove(std::string_view key) {
  for (auto it = items.begin(); it != items.end(); ++it) {
    if (!(*it)->key.empty() && EqualsNoCase((*it)->key, key)) {
      items.erase(it);
      return true;
    }
  }
  return false;
}

std::string ScriptSection::JoinValues() const {
  std::string text;
  for (const auto& item : items) {
    text += item->value;
    text += "\r\n";
  }
  return text;
}

// ---- ScriptGroup ----

const ScriptSection* ScriptGroup::FindSection(std::string_view wanted) const {
  for (const auto& s : sections) {
    if (EqualsNoCase(s->name, wanted)) return s.get();
  }
  return nullptr;
}

ScriptSection* ScriptGroup::FindSection(std::string_view wanted, bool create) {
  if (const ScriptSection* found = static_cast<const ScriptGroup*>(this)->FindSection(wanted)) {
    return const_cast<ScriptSection*>(found);
  }
  if (!create) return nullptr;
  auto s = std::make_unique<ScriptSection>();
  s->name.assign(wanted.data(), wanted.size());
  sections.push_back(std::move(s));
  return sections.back().get();
}

ScriptSection* ScriptGroup::NextSection(const ScriptSection* after) const {
  if (!after) return nullptr;
  bool seen = false;
  for (const auto& s : sections) {
    if (seen && EqualsNoCase(s->name, after->name)) return s.get();
    if (s.get() == after) seen = true;
  }
  return nullptr;
}

// ---- SetupScript ----

SetupScript::SetupScript() { Clear(); }

void SetupScript::Clear() {
  groups_.clear();
  groups_.push_back(std::make_unique<ScriptGroup>());
  current_ = &groups_.front()->leading;
  lineCount_ = 0;
}

ScriptGroup* SetupScript::FindGroup(std::string_view wanted, bool create) {
  for (const auto& g : groups_) {
    if (g->named && EqualsNoCase(g->name, wanted)) return g.get();
  }
  if (!create) return nullptr;
  auto g = std::make_unique<ScriptGroup>();
  g->name.assign(wanted.data(), wanted.size());
  g->named = true;
  groups_.push_back(std::move(g));
  return groups_.back().get();
}

ScriptGroup* SetupScript::NextGroup(const ScriptGroup* after) const {
  if (!after || !after->named) return nullptr;
  bool seen = false;
  for (const auto& g : groups_) {
    if (seen && g->named && EqualsNoCase(g->name, after->name)) return g.get();
    if (g.get() == after) seen = true;
  }
  return nullptr;
}

// The name of a "[name]" or "[[name]]" line: after the brackets, up to the
// first ']' (or the end of the line); anything after it is ignored.
static std::string_view BracketName(std::string_view line, size_t open) {
  std::string_view rest = line.substr(open);
  size_t close = rest.find(']');
  return close == std::string_view::npos ? rest : rest.substr(0, close);
}

void SetupScript::AddLine(std::string_view line, bool continuation) {
  if (!continuation || lineCount_ == 0) ++lineCount_;
  while (line.size() > kMaxScriptLine) {
    AddCutLine(line.substr(0, kMaxScriptLine));
    line.remove_prefix(kMaxScriptLine);
  }
  AddCutLine(line);
}

void SetupScript::AddCutLine(std::string_view raw) {
  std::string_view line = scripttext::Trim(raw);
  if (line.empty()) return;

  if (line.size() >= 2 && line[0] == '[' && line[1] == '[') {
    auto g = std::make_unique<ScriptGroup>();
    g->name = std::string(BracketName(line, 2));
    g->header = std::string(line);
    g->named = true;
    g->line = lineCount_;
    groups_.push_back(std::move(g));
    current_ = &groups_.back()->leading;
    return;
  }
  if (line[0] == '[') {
    auto s = std::make_unique<ScriptSection>();
    s->name = std::string(BracketName(line, 1));
    s->header = std::string(line);
    s->line = lineCount_;
    ScriptGroup& group = *groups_.back();
    group.sections.push_back(std::move(s));
    current_ = group.sections.back().get();
    return;
  }

  auto item = std::make_unique<ScriptItem>();
  item->line = lineCount_;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) {
    item->key = std::string(line);
  } else {
    item->key = std::string(scripttext::TrimRight(line.substr(0, eq)));
    item->value = std::string(line.substr(eq + 1));
    item->hasValue = true;
  }
  current_->items.push_back(std::move(item));
}

static void WriteItems(const ScriptSection& section, std::string& out) {
  for (const auto& item : section.items) {
    out += item->key;
    if (item->hasValue) {
      out += '=';
      out += item->value;
    }
    out += "\r\n";
  }
}

std::string SetupScript::ToText() const {
  std::string out;
  for (const auto& g : groups_) {
    if (g->named) {
      out += g->header.empty() ? "[[" + g->name + "]]" : g->header;
      out += "\r\n";
    }
    WriteItems(g->leading, out);
    if (!g->leading.items.empty()) out += "\r\n";
    for (const auto& s : g->sections) {
      out += s->header.empty() ? "[" + s->name + "]" : s->header;
      out += "\r\n";
      WriteItems(*s, out);
      if (!s->items.empty()) out += "\r\n";
    }
  }
  return out;
}
