// Shared by the kvzpack tests: a scratch folder, file helpers, and a full
// decode of an archive through setup's reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/engine/archive.h"

namespace kvzpack_test {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteFile(const std::string& path, const std::vector<uint8_t>& data);
std::vector<uint8_t> ReadFile(const std::string& path);
std::vector<uint8_t> Bytes(const std::string& text);
// Deterministic noise: the same seed gives the same bytes.
std::vector<uint8_t> RandomBytes(uint32_t seed, size_t size);

struct DecodedEntry {
  ArchiveEntryHeader header;
  std::vector<uint8_t> body;
};

// Opens path at offset with setup's reader and reads every entry to the
// end of the stream. Returns the open result (0, 1, -1), or -2 when a
// header or body failed to decode; *entries holds what was read.
int DecodeArchive(const std::string& path, uint32_t offset, const char* password,
                  std::vector<DecodedEntry>* entries);

}  // namespace kvzpack_test
