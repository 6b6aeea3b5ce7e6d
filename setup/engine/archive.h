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

// The reader. Not thread-safe; one per run of setup.
class SetupArchive {
 public:
  SetupArchive();
  ~SetupArchive();
  SetupArchive(const SetupArchive&) = delete;
  SetupArchive& operator=(const SetupArchive&) = delete;

  // 0 open and at the first entry; 1 encrypted and no usable password (the
  // reader is closed again); -1 failure (file, seek, magic, check block,
  // zlib header, no memory for the decoder's window). No memory for the
  // decoder itself raises a fatal cException (the reader is closed).
  int Open(const char* path, uint32_t offset, const char* password);
  // The same for an archive held in memory (from its header on); the
  // caller keeps the block alive while the reader is open.
  int OpenMemory(const void* data, size_t size, const char* password);
  void Close();
  bool IsOpen() const;
  // The flags word of the last archive header read; kept after Open gave 1
  // so that the password prompt can honour kFlagHidePassword.
  uint32_t Flags() const;

  // Every `end` flag below is set to true when the compressed stream has
  // ended and is left alone otherwise. Progress: ProgressSink::Add(1024)
  // then Poll() (its answer ignored) each time the bytes decoded since Open
  // reach another multiple of 1024.

  // False at the end, on a decoding error, for a magic other than "kvff"
  // or a name over 260 bytes; the record then holds what was read.
  bool ReadHeader(ArchiveEntryHeader* header, bool* end = nullptr);
  // Decodes and discards the body; false for an empty body, a stream that
  // ends early, or an error.
  bool SkipBody(const ArchiveEntryHeader& header, bool* end = nullptr,
                ProgressSink* progress = nullptr);
  bool Find(const char* name, ArchiveEntryHeader* header, bool* end = nullptr,
            ProgressSink* progress = nullptr);
  // A heap block (delete[]) of header.size bytes, or nullptr.
  uint8_t* ReadBody(const ArchiveEntryHeader& header, bool* end = nullptr,
                    ProgressSink* progress = nullptr);
  uint8_t* FindAndRead(const char* name, ArchiveEntryHeader* header,
                       ProgressSink* progress = nullptr);
  // Finds entries from the current position on only (see Find's loop in
  // archive.cpp: an empty entry other than the one sought ends the search).
  //
  // Writes the body to a new file with the stored time and attributes &
  // 0x27, after force-deleting what was there. False when the target
  // cannot be made (the body is then skipped, so the reader stays at the
  // next entry), when the body cannot be decoded in full, or when writing
  // it fails (disk full): no partial file is left behind then.
  bool Extract(const ArchiveEntryHeader& header, const char* target,
               bool* end = nullptr, ProgressSink* progress = nullptr);

 private:
  int Start(const char* password);
  int Decode(void* output, size_t size, bool* end, ProgressSink* progress);

  uint32_t flags_ = 0;
  BufferedFile* file_ = nullptr;
  bool cipherAttached_ = false;
  InflateStream* inflate_ = nullptr;
};
