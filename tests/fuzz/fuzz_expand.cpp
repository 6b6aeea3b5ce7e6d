// <...> expansion: input is a [Symbols] section, a NUL, then the text to
// expand. Whatever the nesting, the expansion ends, stays within its
// 2047 characters and never reads or writes outside its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/path_clean.h"
#include "setup/engine/script.h"
#include "setup/engine/symbol.h"
#include "tests/engine/expand_fake_lookups.h"
#include "tests/engine/script_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const char* split = static_cast<const char*>(memchr(bytes, 0, size));
  std::string symbolsText = split ? std::string(bytes, split) : std::string();
  std::string text = split ? std::string(split + 1, bytes + size) : std::string(bytes, size);

  SetupScript script;
  scripttest::Parse(script, "[Symbols]\n" + symbolsText);
  SymbolTable symbols(osflags::kAll);
  symbols.Load(script);

  expandtest::FakeLookups lookups;
  lookups.env["E"] = "env<E>";
  lookups.env["BIG"] = std::string(3000, 'b');
  lookups.registry[{RegRoot::kLocalMachine, "K", "V"}] = "reg<%E>";
  lookups.ini[{"f", "s", "k"}] = "ini";

  const std::string out = ExpandSymbols(text, symbols, lookups);
  if (out.size() > expandlimits::kMaxResult) abort();
  if (lookups.calls > int(expandlimits::kMaxEvaluations)) abort();
  const std::string clean = CleanPath(out);
  if (clean.size() > out.size()) abort();
  return 0;
}
