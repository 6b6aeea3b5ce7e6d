// SetupArchive: opening (stamp, header, check block, cipher, zlib header)
// and the forward-only entry operations. The byte layout is documented in
// archive_format.h.
#include "setup/engine/archive.h"

#include <cstring>
#include <new>

#include "setup/app/setup_exception.h"
#include "setup/engine/archive_cipher.h"
#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"
#include "setup/engine/os_file.h"
#include "setup/engine/progress_sink.h"

#define KV_SOURCE_ID 7101

namespace {

// Entry names compare case-insensitively, ASCII letters only.
bool SameName(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned x = static_cast<unsigned char>(*a);
    unsigned y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
    if (x == 0) return true;
  }
}

void OnProgress(void* user, uint32_t bytes) {
  ProgressSink* sink = static_cast<ProgressSink*>(user);
  sink->Add(bytes);
  sink->Poll();
}

void ParseHeader(const uint8_t* raw, ArchiveEntryHeader* h) {
  std::memcpy(h->magic, raw, 4);
  h->reserved = kvz::GetU32(raw + 4);
  h->size = kvz::GetU32(raw + 8);
  h->lastWrite = kvz::GetU64(raw + 12);
  h->productVersionLS = kvz::GetU32(raw + 20);
  h->productVersionMS = kvz::GetU32(raw + 24);
  h->fileVersionLS = kvz::GetU32(raw + 28);
  h->fileVersionMS = kvz::GetU32(raw + 32);
  h->attributes = kvz::GetU16(raw + 36);
  h->nameLength = kvz::GetU16(raw + 38);
}

}  // namespace

bool ReadArchiveStamp(const char* path, uint32_t* offset, uint32_t* end) {
  const osfile::Handle file = osfile::Open(path, FileOpen::ReadExisting);
  if (file == osfile::kNoFile) return false;
  uint8_t head[kvz::kStampMinFileSize];
  uint64_t size = 0;
  size_t have = 0;
  bool ok = osfile::Size(file, &size) && size >= kvz::kStampMinFileSize;
  while (ok && have < sizeof head) {
    size_t got = 0;
    ok = osfile::Read(file, head + have, sizeof head - have, &got) && got > 0;
    have += got;
  }
  osfile::Close(file);
  if (!ok) return false;
  const uint32_t a = kvz::GetU32(head + kvz::kStampOffsetA);
  const uint32_t b = kvz::GetU32(head + kvz::kStampOffsetB);
  if (kvz::GetU32(head + kvz::kStampOffsetNotA) != ~a) return false;
  if (kvz::GetU32(head + kvz::kStampOffsetNotB) != ~b) return false;
  if (a >= b || size < b) return false;
  *offset = a;
  *end = b;
  return true;
}

SetupArchive::SetupArchive() = default;

SetupArchive::~SetupArchive() { Close(); }

int SetupArchive::Open(const char* path, uint32_t offset, const char* password) {
  Close();
  flags_ = 0;
  file_ = new (std::nothrow) BufferedFile;
  if (!file_ || !file_->Open(path, FileOpen::ReadExisting, 4096) || !file_->Seek(offset)) {
    Close();
    return -1;
  }
  return Start(password);
}

int SetupArchive::OpenMemory(const void* data, size_t size, const char* password) {
  Close();
  flags_ = 0;
  file_ = new (std::nothrow) BufferedFile;
  if (!file_) return -1;
  file_->OpenMemory(data, size, 4096);
  return Start(password);
}

// From the archive header on: magic, flags, password and check block,
// then the decoder.
int SetupArchive::Start(const char* password) {
  uint8_t head[kvz::kArchiveHeaderSize];
  if (file_->Read(head, sizeof head) != sizeof head) {
    Close();
    return -1;
  }
  const bool v1 = std::memcmp(head, kvz::kMagicKvz1, 4) == 0;
  const bool v2 = std::memcmp(head, kvz::kMagicKvz2, 4) == 0;
  if (!v1 && !v2) {
    Close();
    return -1;
  }
  flags_ = kvz::GetU32(head + 4);
  if (v2) {
    if (flags_ & kvz::kFlagEncrypted) {
      if (!password || !*password) {
        Close();
        return 1;
      }
      ArchiveCipher* cipher = new (std::nothrow) ArchiveCipher;
      if (!cipher) {
        Close();
        return -1;
      }
      cipher->SetKey(password, std::strlen(password));
      file_->AttachCipher(cipher);
      cipherAttached_ = true;
    }
    // The check block is there whether or not the archive is encrypted; for
    // an encrypted one it is the password test.
    uint8_t check[kvz::kCheckBlockSize];
    if (file_->Read(check, sizeof check) != sizeof check ||
        (kvz::GetU32(check) ^ kvz::GetU32(check + 4)) != kvz::kCheckConstant) {
      Close();
      return -1;
    }
  }
  // Without memory for the decoder's state setup cannot go on at all: a
  // fatal runtime error, not a damaged archive.
  inflate_ = new (std::nothrow) InflateStream;
  if (!inflate_) {
    Close();
    cException::raise(KV_SOURCE_ID, __LINE__);
  }
  if (inflate_->Open(file_) != 0) {
    Close();
    return -1;
  }
  return 0;
}

void SetupArchive::Close() {
  delete inflate_;
  inflate_ = nullptr;
  delete file_;  // closes the file and frees the cipher it owns
  file_ = nullptr;
  cipherAttached_ = false;
}

bool SetupArchive::IsOpen() const { return inflate_ != nullptr; }

uint32_t SetupArchive::Flags() const { return flags_; }

// One request to the decoder: 0, 1 (end, flagged) or an error.
int SetupArchive::Decode(void* output, size_t size, bool* end, ProgressSink* progress) {
  if (!inflate_) return -2;
  if (progress) {
    inflate_->SetProgress(OnProgress, progress);
  } else {
    inflate_->SetProgress(nullptr, nullptr);
  }
  const int r = inflate_->Run(output, size);
  inflate_->SetProgress(nullptr, nullptr);
  if (r == 1 && end) *end = true;
  return r;
}

bool SetupArchive::ReadHeader(ArchiveEntryHeader* header, bool* end) {
  std::memset(header, 0, sizeof *header);
  uint8_t raw[kvz::kEntryHeaderSize] = {};
  const int r = Decode(raw, sizeof raw, end, nullptr);
  ParseHeader(raw, header);
  if (r != 0) return false;
  if (std::memcmp(header->magic, kvz::kMagicEntry, 4) != 0) return false;
  if (header->nameLength > kvz::kMaxEntryName) return false;
  if (header->nameLength > 0 && Decode(header->name, header->nameLength, end, nullptr) != 0) {
    header->name[0] = '\0';
    return false;
  }
  header->name[header->nameLength] = '\0';
  return true;
}

bool SetupArchive::SkipBody(const ArchiveEntryHeader& header, bool* end, ProgressSink* progress) {
  if (header.size == 0) return false;
  return Decode(nullptr, header.size, end, progress) == 0;
}

// Reads forward: a header that fails or does not match has its body (by the
// size it holds) skipped; a skip that fails, including that of an empty
// body, ends the search.
bool SetupArchive::Find(const char* name, ArchiveEntryHeader* header, bool* end, ProgressSink* progress) {
  if (!inflate_) return false;
  for (;;) {
    if (ReadHeader(header, end) && SameName(header->name, name)) return true;
    if (!SkipBody(*header, end, progress)) return false;
  }
}

uint8_t* SetupArchive::ReadBody(const ArchiveEntryHeader& header, bool* end, ProgressSink* progress) {
  if (!inflate_) return nullptr;
  // An empty body still gives a block, so that an empty entry reads as
  // empty rather than as a failure.
  uint8_t* block = new (std::nothrow) uint8_t[header.size ? header.size : 1];
  if (!block) return nullptr;
  if (header.size > 0 && Decode(block, header.size, end, progress) != 0) {
    delete[] block;
    return nullptr;
  }
  return block;
}

uint8_t* SetupArchive::FindAndRead(const char* name, ArchiveEntryHeader* header, ProgressSink* progress) {
  if (!Find(name, header, nullptr, progress)) return nullptr;
  return ReadBody(*header, nullptr, progress);
}

bool SetupArchive::Extract(const ArchiveEntryHeader& header, const char* target, bool* end,
                           ProgressSink* progress) {
  if (!inflate_) return false;
  osfile::ForceDelete(target);  // a file that stays makes the creation fail
  BufferedFile out;
  // The buffer is the whole body: the body goes out in one write.
  if (!out.Open(target, FileOpen::WriteCreateAlways, header.size ? header.size : 1)) {
    if (header.size > 0) SkipBody(header, end, progress);
    return false;
  }
  bool ok = true;
  if (header.size > 0) {
    uint8_t* block = new (std::nothrow) uint8_t[header.size];
    if (!block) {
      ok = false;
      SkipBody(header, end, progress);
    } else {
      ok = Decode(block, header.size, end, progress) == 0 && out.Write(block, header.size);
      delete[] block;
    }
  }
  if (ok) out.SetLastWriteTime(header.lastWrite);
  // A failed write (disk full) must not leave a complete-looking file.
  if (!out.Close() || !ok) {
    osfile::ForceDelete(target);
    return false;
  }
  osfile::SetAttributes(target, header.attributes & kvz::kExtractAttributeMask);
  return true;
}
