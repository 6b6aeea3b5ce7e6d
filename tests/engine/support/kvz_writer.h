// Test-side writers: DEFLATE streams (stored blocks, or fixed Huffman codes
// over a small LZ77 matcher), zlib framing, hand-made bit streams, and whole
// kvz archives. Portable on purpose, so the archive tests also run in the
// Windows build, which has no zlib; tests that compare with zlib live in
// the native-only *_zlibtest.cpp files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

using Bytes = std::vector<uint8_t>;

// LSB-first bit writer, as DEFLATE packs its bits.
class BitWriter {
 public:
  void Bits(uint32_t value, int count);
  // A Huffman code: sent most significant bit first.
  void Code(uint32_t code, int length);
  void AlignToByte();
  void Byte(uint8_t b);
  const Bytes& Done();

 private:
  Bytes out_;
  uint32_t acc_ = 0;
  int count_ = 0;
};

// Independent of the decoder's own: RFC 1950's definition, byte by byte.
uint32_t Adler32(const uint8_t* data, size_t n, uint32_t adler = 1);

// Raw DEFLATE. Stored: blocks of at most maxBlock bytes. Fixed: one fixed-
// Huffman block per blockSize bytes, matches no farther than maxDistance.
Bytes DeflateStored(const Bytes& data, size_t maxBlock = 65535);
Bytes DeflateFixed(const Bytes& data, size_t maxDistance = 32768, size_t blockSize = 1 << 20);

// Symbols of a fixed-Huffman block (RFC 1951 3.2.6): a literal/length
// symbol, and a whole back-reference (length and distance with extra bits).
void FixedSymbol(BitWriter& w, unsigned symbol);
void FixedMatch(BitWriter& w, unsigned length, unsigned distance);

// RFC 1950 framing around raw DEFLATE data: CMF, FLG, data, Adler-32.
Bytes ZlibWrap(const Bytes& deflate, uint32_t adler, uint8_t cmf = 0x78);
enum class Method { kStored, kFixed };
Bytes Zlib(const Bytes& data, Method method = Method::kFixed);

// Deterministic test data: text-like, runs, and noise.
Bytes MixedData(size_t n, uint32_t seed);

struct Entry {
  std::string name;
  Bytes body;
  uint64_t lastWrite = 0x01D0000000000000ull;
  uint16_t attributes = 0x20;
  uint32_t versions[4] = {1, 2, 3, 4};  // productLS, productMS, fileLS, fileMS
  uint32_t reserved = 0;
};

// The decompressed stream: header, name, body for each entry.
Bytes EntryStream(const std::vector<Entry>& entries);

using Compressor = Bytes (*)(const Bytes& data);

struct ArchiveOptions {
  int version = 2;           // kvz1 or kvz2
  uint32_t flags = 1;        // the writer's bit; 2 is added with a password
  std::string password;      // kvz2 only: encrypts from offset 8 on
  bool badCheck = false;     // a check block that fails the XOR test
  Compressor compress = nullptr;  // default: fixed Huffman
};

// Header, check block (kvz2) and the zlib stream of the entries.
Bytes BuildArchive(const std::vector<Entry>& entries, const ArchiveOptions& options = {});
// The same around a zlib stream given as it is (damaged ones too).
Bytes BuildArchiveAround(const Bytes& zlibStream, const ArchiveOptions& options = {});

// An executable-like file: a 0x200-byte MS-DOS-ish head, the archive, and
// the stamp pointing at it.
Bytes StampedExecutable(const Bytes& archive, uint32_t* offset);

// Files in a fresh temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const;
  std::string Write(const std::string& name, const Bytes& data) const;

 private:
  std::string root_;
};

Bytes ReadFileBytes(const std::string& path);

}  // namespace kvtest
