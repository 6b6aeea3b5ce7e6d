// Setup.ini parser: any bytes read as a script must save to a text that
// reads back as the same structure and saves to the same bytes; lookups,
// symbols, languages and the load rules must cope with whatever was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "setup/engine/script_load.h"
#include "setup/engine/symbol.h"
#include "tests/engine/script_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetupScript script;
  LoadScriptMemory(script, data, size);
  const std::string text = script.ToText();

  SetupScript back;
  LoadScriptMemory(back, text.data(), text.size());
  if (scripttest::Structure(back) != scripttest::Structure(script)) abort();
  if (back.ToText() != text) abort();

  for (ScriptSection* s = script.Section("Files"); s; s = script.Main().NextSection(s)) {
    s->GetInt("ID", -1);
    s->GetUInt("ID", 0);
  }
  NoSymbolLookups none;
  ScriptSectionReaders readers;
  SymbolTable symbols(size ? OsFlagForSystemClass(data[0] % 8) : osflags::kWinXP);
  LoadedScript loaded;
  ScriptLoadFailure failure;
  ApplyScriptRules(script, symbols, none, readers, [](uint16_t id) { return id & 1; }, &loaded,
                   &failure);
  for (const auto& sym : symbols.All()) {
    if (ExpandSymbols(sym->value, symbols, none).size() > expandlimits::kMaxResult) abort();
  }
  // Writing values back keeps the script readable the same way.
  symbols.SetValue(kSymAppFolder, "C:\\Folder");
  for (auto& lang : loaded.languages) StoreLanguage(lang);
  const std::string changed = script.ToText();
  SetupScript again;
  LoadScriptMemory(again, changed.data(), changed.size());
  if (scripttest::Structure(again) != scripttest::Structure(script)) abort();
  return 0;
}
