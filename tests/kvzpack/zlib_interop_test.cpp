// Streams that zlib makes but libdeflate at level 12 never does (fixed
// Huffman blocks only, stored blocks only, small windows) decoded by
// setup's InflateStream, so the decoder is not only ever tested against
// our own builder.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "kvzpack/kvzpack_test_support.h"
#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"

using namespace kvzpack_test;

namespace {

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data, int level, int strategy,
                                  int windowBits) {
  z_stream z;
  std::memset(&z, 0, sizeof z);
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, strategy), Z_OK);
  std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())) + 64);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = uInt(data.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Decodes in requests of `chunk` bytes, so requests end inside stored
// blocks and back-references. Returns the last Run result.
int Inflate(const std::vector<uint8_t>& stream, size_t chunk, std::vector<uint8_t>* out) {
  BufferedFile file;
  file.OpenMemory(stream.data(), stream.size());
  InflateStream inflate;
  if (inflate.Open(&file) != 0) return -100;
  out->clear();
  std::vector<uint8_t> buffer(chunk);
  for (;;) {
    const uint64_t before = inflate.TotalOut();
    const int result = inflate.Run(buffer.data(), chunk);
    out->insert(out->end(), buffer.begin(), buffer.begin() + size_t(inflate.TotalOut() - before));
    if (result != 0) return result;
  }
}

std::vector<uint8_t> Repetitive(size_t size) {
  std::vector<uint8_t> data;
  const char* words[] = {"Kelvo ", "Remover ", "2004 ", "Lite ", "\r\n", "setup "};
  for (uint32_t i = 0; data.size() < size; i = i * 1103515245u + 12345u)
    for (const char* c = words[(i >> 16) % 6]; *c; ++c) data.push_back(uint8_t(*c));
  data.resize(size);
  return data;
}

}  // namespace

TEST(ZlibInterop, FixedStoredAndSmallWindowStreamsDecode) {
  struct Data {
    const char* what;
    std::vector<uint8_t> bytes;
  } inputs[] = {
      {"empty", {}},
      {"one byte", {0x5A}},
      {"zeros", std::vector<uint8_t>(150000, 0)},  // overlapping distance-1 copies
      {"text", Repetitive(300000)},
      {"noise", RandomBytes(11, 70000)},  // more than one 64 KB stored block
      {"stored block edge", RandomBytes(12, 65535)},
  };
  struct Encoding {
    const char* what;
    int level;
    int strategy;
    int windowBits;
  } encodings[] = {
      {"fixed Huffman", 9, Z_FIXED, 15},
      {"fixed Huffman, fast", 1, Z_FIXED, 15},
      {"stored only", 0, Z_DEFAULT_STRATEGY, 15},
      {"dynamic, 512-byte window", 9, Z_DEFAULT_STRATEGY, 9},
      {"fixed, 1 KB window", 6, Z_FIXED, 10},
  };
  for (const Encoding& e : encodings) {
    for (const Data& d : inputs) {
      SCOPED_TRACE(std::string(e.what) + " / " + d.what);
      const std::vector<uint8_t> stream = ZlibCompress(d.bytes, e.level, e.strategy, e.windowBits);
      // First block type: stored at level 0; never dynamic with Z_FIXED
      // (zlib stores what fixed codes would enlarge).
      const int firstBlock = (stream[2] >> 1) & 3;
      if (e.level == 0) {
        ASSERT_EQ(firstBlock, 0);
      } else if (e.strategy == Z_FIXED) {
        ASSERT_NE(firstBlock, 2);
      }
      for (size_t chunk : {size_t(1) << 20, size_t(4093), size_t(7)}) {
        if (chunk == 7 && d.bytes.size() > 70000) continue;  // byte-sized requests are slow enough
        std::vector<uint8_t> out;
        EXPECT_EQ(Inflate(stream, chunk, &out), 1) << "chunk " << chunk;
        EXPECT_TRUE(out == d.bytes) << "chunk " << chunk << ": " << out.size() << " bytes";
      }
    }
  }
}

// A zlib stream is only sound with its trailer: a wrong Adler-32 fails the
// last request even though every byte decoded.
TEST(ZlibInterop, WrongTrailerFailsWithChecksumFault) {
  for (int level : {0, 9}) {
    std::vector<uint8_t> stream = ZlibCompress(Repetitive(5000), level, Z_FIXED, 15);
    stream.back() ^= 1;
    BufferedFile file;
    file.OpenMemory(stream.data(), stream.size());
    InflateStream inflate;
    ASSERT_EQ(inflate.Open(&file), 0);
    std::vector<uint8_t> out(5000);
    EXPECT_EQ(inflate.Run(out.data(), out.size()), 0);
    EXPECT_EQ(inflate.Run(out.data(), 1), -3);
    EXPECT_EQ(inflate.LastFault(), InflateStream::Fault::kChecksum);
  }
}
