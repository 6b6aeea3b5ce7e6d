// SetupArchive: reads the archive appended to setup (or a .kvz file)
// strictly forward, decoding it with InflateStream. Layout: archive_format.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "setup/engine/archive_format.h"

class BufferedFile;
class InflateStream;
class ProgressSink;

// The entry header as it is in the stream, then the NUL-terminated name.
// Also the record of a file on disk (attributes 0xFFFF: no such file).
struct ArchiveEntryHeader {
  char magic[4];
  uint32_t reserved;
  uint32_t size;
  uint64_t lastWrite;  // FILETIME, UTC
  uint32_t productVersionLS;
  uint32_t productVersionMS;
  uint32_t fileVersionLS;
  uint32_t fileVersionMS;
  uint16_t attributes;
  uint16_t nameLength;
  char name[kvz::kMaxEntryName + 1];
};

// Reads the stamp in an executable's MS-DOS header: true with the archive's
// offset and end when the stamp is valid for this file.
bool ReadArchiveStamp(const char* path, uint32_t* offset, uint32_t* end);

class SetupArchive {
 public:
  SetupArchive();
  ~SetupArchive();
  SetupArchive(const SetupArchive&) = delete;
  SetupArchive& operator=(const SetupArchive&) = delete;

  // 0 open and at the first entry; 1 encrypted and no usable password (the
  // reader is closed again); -1 failure (file, seek, magic, check block,
  // zlib header).
  int Open(const char* path, uint32_t offset, const char* password);
  void Close();
  bool IsOpen() const;
  uint32_t Flags() const;

  bool ReadHeader(ArchiveEntryHeader* header, bool* end = nullptr);
  bool SkipBody(const ArchiveEntryHeader& header, bool* end = nullptr,
                ProgressSink* progress = nullptr);
  bool Find(const char* name, ArchiveEntryHeader* header, bool* end = nullptr,
            ProgressSink* progress = nullptr);
  // A heap block (delete[]) of header.size bytes, or nullptr.
  uint8_t* ReadBody(const ArchiveEntryHeader& header, bool* end = nullptr,
                    ProgressSink* progress = nullptr);
  uint8_t* FindAndRead(const char* name, ArchiveEntryHeader* header,
                       ProgressSink* progress = nullptr);
  // Writes the body to a new file with the stored time and attributes & 0x27.
  bool Extract(const ArchiveEntryHeader& header, const char* target,
               bool* end = nullptr, ProgressSink* progress = nullptr);

 private:
  uint32_t flags_ = 0;
  BufferedFile* file_ = nullptr;
  bool cipherAttached_ = false;
  InflateStream* inflate_ = nullptr;
};
