// The setup archive as bytes on disk: the one place that documents it.
// Shared by the reader in setup (archive.h) and the package builder
// (tools/kvzpack). All words are little-endian unless said otherwise.
//
// 1. The stamp. A writer appends the archive to a copy of setup and records
//    where it is in four words of the executable's MS-DOS header, each with
//    its bitwise complement, so that an unstamped executable is recognised:
//
//      0x1C  u32  A   file offset of the archive header
//      0x20  u32  ~A
//      0x78  u32  B   file offset just past the archive (= file length)
//      0x7C  u32  ~B
//
//    Valid when both complements match, A < B and the file is >= B bytes.
//    A stand-alone .kvz archive starts at offset 0 and carries no stamp.
//
// 2. The archive header at A:
//
//      0   4 bytes  magic "kvz1" or "kvz2"
//      4   u32      flags: bit 0 set by writers, bit 1 (kvz2) encrypted,
//                   bit 3 hide the typed password; other bits zero
//      8   2 x u32  kvz2 only: check block w0, w1 with w0 ^ w1 == 0x5B1E7C93
//
//    kvz1: the zlib stream starts at 8 (bit 1 means nothing, no check block).
//    kvz2: the zlib stream starts at 16; when bit 1 is set every byte from
//    offset 8 to the end (check block and stream) is ArchiveCipher output.
//
// 3. The zlib stream (RFC 1950: CMF FLG, DEFLATE blocks, big-endian Adler-32)
//    decompresses to entries placed one after another, no padding, no
//    terminator. Each entry is a 40-byte header, the name, then the body:
//
//      0   4 bytes  magic "kvff"
//      4   u32      reserved (written, never read)
//      8   u32      body size
//      12  u64      last-write time, FILETIME (100 ns since 1601), UTC
//      20  u32      ProductVersionLS
//      24  u32      ProductVersionMS
//      28  u32      FileVersionLS
//      32  u32      FileVersionMS
//      36  u16      file attributes (Windows bits)
//      38  u16      name length, at most 260
//      40  name     8-bit characters, no terminator
//      ..  body     body size bytes
//
//    Entries are stored in the order setup asks for them: Setup.ini, the
//    language DLL, the extension DLL, the wizard bitmaps, then every File=
//    line in [Files] order. The reader only moves forward.
//
// 4. Encryption (kvz2 with flag bit 1): the password's bytes are the key of
//    ArchiveCipher (archive_cipher.h), an RC4 whose generator starts with
//    i = the key schedule's final j and j = 0. Its keystream runs without a
//    break from offset 8 (the check block) to the end of the archive.
//
// 5. What the reader refuses in the zlib stream: a window over 32 KB
//    (CINFO > 7), a preset dictionary, and everything RFC 1951 calls
//    invalid, including over-subscribed and incomplete codes (a lone
//    one-bit code, or no distance code at all, is allowed), repeat codes
//    past the last length, and distances before the start of the stream or
//    beyond the window.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvz {

constexpr uint32_t kStampOffsetA = 0x1C;
constexpr uint32_t kStampOffsetNotA = 0x20;
constexpr uint32_t kStampOffsetB = 0x78;
constexpr uint32_t kStampOffsetNotB = 0x7C;
// The stamp words must fit inside the file before anything can be read.
constexpr uint32_t kStampMinFileSize = 0x80;

constexpr char kMagicKvz1[4] = {'k', 'v', 'z', '1'};
constexpr char kMagicKvz2[4] = {'k', 'v', 'z', '2'};
constexpr char kMagicEntry[4] = {'k', 'v', 'f', 'f'};

constexpr uint32_t kFlagWriter = 0x01;
constexpr uint32_t kFlagEncrypted = 0x02;
constexpr uint32_t kFlagHidePassword = 0x08;

constexpr uint32_t kCheckConstant = 0x5B1E7C93;

constexpr size_t kArchiveHeaderSize = 8;
constexpr size_t kCheckBlockSize = 8;
constexpr size_t kEntryHeaderSize = 40;
constexpr size_t kMaxEntryName = 260;

// Only these attribute bits are given to an extracted file.
constexpr uint16_t kExtractAttributeMask = 0x27;

// Little-endian helpers for code that handles the raw bytes.
inline uint16_t GetU16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t GetU64(const uint8_t* p) { return uint64_t(GetU32(p)) | (uint64_t(GetU32(p + 4)) << 32); }
inline void PutU16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void PutU64(uint8_t* p, uint64_t v) { PutU32(p, uint32_t(v)); PutU32(p + 4, uint32_t(v >> 32)); }

}  // namespace kvz
