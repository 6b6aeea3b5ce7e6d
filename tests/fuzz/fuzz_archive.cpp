// Fuzz target: the input (after one byte that picks the password) opened as
// an archive, every entry read into memory or skipped, then a fresh open
// searched for a name. Must never crash, leak or touch memory out of bounds.
#include <cstddef>
#include <cstdint>

#include "setup/engine/archive.h"
#include "setup/engine/progress_sink.h"

namespace {

struct Sink : ProgressSink {
  uint64_t added = 0;
  void Add(uint32_t n) override { added += n; }
  bool Poll() override { return (added >> 10) % 7 == 0; }
  void SetRange(uint64_t) override {}
};

// Bodies larger than this are skipped rather than read, to keep within the
// fuzzer's memory limit.
constexpr uint32_t kMaxRead = 1u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static const char* const kPasswords[] = {nullptr, "", "secret", "Key"};
  const char* password = kPasswords[data[0] % 4];
  ++data;
  --size;

  Sink sink;
  SetupArchive reader;
  if (reader.OpenMemory(data, size, password) != 0) return 0;
  for (int i = 0; i < 10000; ++i) {
    ArchiveEntryHeader h;
    bool end = false;
    if (!reader.ReadHeader(&h, &end)) {
      if (end || !reader.SkipBody(h, &end, &sink)) break;
      continue;
    }
    if (h.size <= kMaxRead && (h.nameLength & 1) == 0) {
      uint8_t* body = reader.ReadBody(h, &end, &sink);
      if (!body) break;
      delete[] body;
    } else if (!reader.SkipBody(h, &end, i % 2 ? &sink : nullptr)) {
      if (h.size != 0) break;
    }
  }

  if (reader.OpenMemory(data, size, password) != 0) __builtin_trap();  // opened once, opens again
  ArchiveEntryHeader h;
  bool end = false;
  if (reader.Find("setup.INI", &h, &end, &sink) && h.size <= kMaxRead) {
    delete[] reader.ReadBody(h, &end, &sink);
  }
  reader.Close();
  return 0;
}
