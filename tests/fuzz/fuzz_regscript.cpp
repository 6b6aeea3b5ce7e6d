// The registry script parser on arbitrary text: the whole script is read
// as setup reads it, every group is walked, applied and undone on the
// in-memory registry, and the data parser also gets the raw lines. The
// 4096-byte data buffer must never be written past.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/regscript_apply.h"
#include "setup/engine/regscript_data.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"
#include "tests/engine/registry_fake.h"

namespace {

class IdentityContext : public SettingsContext {
 public:
  std::string Expand(std::string_view text) override { return std::string(text); }
  bool OsMatches(uint32_t flags) override { return (flags & 0x40) != 0; }
  bool Is9xFamily() override { return false; }
};

class Touch : public RegScriptHandler {
 public:
  unsigned sum = 0;
  bool OpenKey(const RegScriptKey& k) override {
    sum += unsigned(k.path.size());
    return true;
  }
  bool Value(const RegScriptValue& v) override {
    for (size_t i = 0; i < v.data->size; ++i) sum += v.data->bytes[i];
    sum += unsigned(v.name.size());
    return true;
  }
  bool CloseKey(const RegScriptKey&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetupScript script;
  LoadScriptMemory(script, data, size);
  for (const auto& group : script.Groups()) {
    Touch touch;
    WalkRegScript(*group, touch);
    kvtest::FakeRegistry registry;
    IdentityContext context;
    ApplyRegScript(*group, registry, context, nullptr);
    UndoRegScript(*group, registry, context);
    ApplyFileRegGroup(*group, registry);
    UndoFileRegGroup(*group, registry);
  }

  // The first line as data, the following ones as its continuation.
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    lines.emplace_back(text.data() + start, nl - start);
    start = nl + 1;
  }
  size_t next = 1;
  RegContinuation more = [&](std::string_view* line) {
    if (next >= lines.size()) return false;
    *line = lines[next++];
    return true;
  };
  RegData parsed;
  ParseRegData(lines[0], more, &parsed);
  return 0;
}
