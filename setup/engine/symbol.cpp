#include "setup/engine/symbol.h"

#include "setup/engine/os_flags.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

void SymbolTable::Clear() {
  symbols_.clear();
  script_ = nullptr;
}

void SymbolTable::Load(SetupScript& script) {
  Clear();
  script_ = &script;
  ScriptSection* section = script.Section("Symbols");
  if (!section) return;
  for (const auto& item : section->items) {
    if (!item->hasValue) continue;
    auto fields = scripttext::SplitFields(item->value);
    if (fields.size() < 3) continue;
    uint32_t flags = scripttext::ParseUInt(fields[1]);
    if (!OsFlagsMatch(flags, runningOsFlag_)) continue;
    auto symbol = std::make_unique<SetupSymbol>();
    symbol->id = scripttext::ParseInt(fields[0]);
    symbol->osFlags = flags;
    symbol->name = item->key;
    symbol->value = std::string(fields[2]);
    symbol->item = item.get();
    symbols_.push_back(std::move(symbol));
  }
}

SetupSymbol* SymbolTable::ById(int32_t id) const {
  for (const auto& s : symbols_) {
    if (s->id == id) return s.get();
  }
  return nullptr;
}

SetupSymbol* SymbolTable::ByName(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& s : symbols_) {
    if (scripttext::EqualsNoCase(s->name, name)) return s.get();
  }
  return nullptr;
}

std::string SymbolTable::Value(int32_t id) const {
  const SetupSymbol* s = ById(id);
  return s ? s->value : std::string();
}

void SymbolTable::Store(SetupSymbol& symbol) {
  if (!symbol.item) return;
  std::string line = std::to_string(symbol.id) + "|" + std::to_string(symbol.osFlags) +
                     "|" + symbol.value;
  symbol.item->SetValue(line);
}

SetupSymbol& SymbolTable::SetValue(int32_t id, std::string_view value) {
  SetupSymbol* s = ById(id);
  if (!s) {
    auto created = std::make_unique<SetupSymbol>();
    created->id = id;
    created->osFlags = osflags::kAll;
    symbols_.push_back(std::move(created));
    s = symbols_.back().get();
  }
  s->value.assign(value.data(), value.size());
  Store(*s);
  return *s;
}

SetupSymbol& SymbolTable::SetValue(std::string_view name, std::string_view value) {
  SetupSymbol* s = ByName(name);
  if (!s) {
    auto created = std::make_unique<SetupSymbol>();
    created->osFlags = osflags::kAll;
    created->name.assign(name.data(), name.size());
    if (script_ && !name.empty()) {
      created->item = script_->Section("Symbols", true)->Append(name, "");
    }
    symbols_.push_back(std::move(created));
    s = symbols_.back().get();
  }
  s->value.assign(value.data(), value.size());
  Store(*s);
  return *s;
}
