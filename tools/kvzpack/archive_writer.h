// ArchiveWriter: builds a setup archive (layout: archive_format.h) from
// entries added in the order setup will ask for them. The archive is solid:
// all entries become one decompressed stream, compressed in one piece at
// the end, so the whole stream and its compressed form are held in memory
// (fine up to a few hundred MB). Same entries and options, same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/kvzpack/pe_version.h"

namespace kvzpack {

// Windows attribute bits the builder sets itself.
constexpr uint16_t kAttributeReadOnly = 0x01;
constexpr uint16_t kAttributeArchive = 0x20;

// The header fields of one entry besides its name and size.
struct EntryInfo {
  std::string name;
  uint64_t lastWrite = 0;  // FILETIME, UTC
  uint16_t attributes = kAttributeArchive;
  PeVersion version;
};

// What to take from the file and what to force.
struct EntryOverrides {
  bool setAttributes = false;
  uint16_t attributes = 0;
};

enum class ArchiveFormat { Kvz1, Kvz2 };

struct ArchiveOptions {
  ArchiveFormat format = ArchiveFormat::Kvz2;
  std::string password;  // non-empty: encrypted (kvz2 only)
  bool hidePassword = false;
};

// Checks an entry name: 1 to 260 bytes, no NUL. Empty error when fine.
std::string CheckEntryName(const std::string& name);

// The cipher counts the key length modulo 256, so a longer password would
// quietly lose its tail (or all but a few bytes of it): refuse it instead.
constexpr size_t kMaxPasswordLength = 255;

class ArchiveWriter {
 public:
  // Reads the file: size, last-write time, read-only bit (archive bit set as
  // Windows sets it on new files) and PE version words. False with *error
  // when the name is invalid or the file cannot be read or stored.
  bool AddFile(const std::string& name, const std::string& path,
               const EntryOverrides& overrides, std::string* error);
  bool AddData(const EntryInfo& info, const uint8_t* body, size_t size, std::string* error);

  size_t EntryCount() const { return entries_; }
  uint64_t StreamSize() const { return stream_.size(); }

  // Compresses and, when asked, encrypts; *archive starts with the magic.
  bool Finish(const ArchiveOptions& options, std::vector<uint8_t>* archive,
              std::string* error) const;

 private:
  std::vector<uint8_t> stream_;
  size_t entries_ = 0;
};

}  // namespace kvzpack
