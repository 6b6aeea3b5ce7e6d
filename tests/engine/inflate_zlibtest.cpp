// InflateStream against streams that zlib itself writes: every strategy,
// level and window size, requests of random sizes that split blocks and
// back-references, null output, and archives compressed by zlib.
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>

#include "engine/support/kvz_writer.h"
#include "setup/engine/archive.h"
#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"

using kvtest::Bytes;

namespace {

Bytes Compress(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY, int windowBits = 15) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, 9, strategy), Z_OK);
  Bytes out(deflateBound(&z, uLong(data.size())) + 64);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = uInt(data.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

Bytes ZlibDefault(const Bytes& data) { return Compress(data, 9); }

// Text, an executable-like table region, runs and noise.
Bytes Corpus(size_t n, uint32_t seed) {
  Bytes out = kvtest::MixedData(n / 2, seed);
  std::mt19937 rng(seed);
  while (out.size() < n) {
    const uint32_t base = rng();
    for (int i = 0; i < 64; ++i) {  // little-endian words with small deltas
      const uint32_t v = base + uint32_t(i) * 16;
      for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
    }
  }
  out.resize(n);
  return out;
}

// Decodes in random request sizes, some with no output; checks every byte
// that was asked for and the end.
void CheckRandomRequests(const Bytes& z, const Bytes& data, uint32_t seed, size_t maxRequest) {
  std::mt19937 rng(seed);
  BufferedFile file;
  file.OpenMemory(z.data(), z.size(), 64 + rng() % 8192);
  InflateStream s;
  ASSERT_EQ(s.Open(&file), 0);
  size_t pos = 0;
  Bytes piece;
  while (pos < data.size()) {
    const size_t n = std::min<size_t>(1 + rng() % maxRequest, data.size() - pos);
    int r;
    if (rng() % 4 == 0) {
      r = s.Run(nullptr, n);
    } else {
      piece.assign(n, 0);
      r = s.Run(piece.data(), n);
      ASSERT_TRUE(std::equal(piece.begin(), piece.end(), data.begin() + long(pos))) << "at " << pos;
    }
    ASSERT_EQ(r, 0) << "at " << pos << " fault " << int(s.LastFault());
    pos += n;
  }
  uint8_t b;
  EXPECT_EQ(s.Run(&b, 1), 1);
}

Bytes InflateAll(const Bytes& z, int* last) {
  BufferedFile file;
  file.OpenMemory(z.data(), z.size());
  InflateStream s;
  Bytes out;
  *last = s.Open(&file);
  if (*last != 0) return out;
  Bytes chunk(1 << 16);
  do {
    const uint64_t before = s.TotalOut();
    *last = s.Run(chunk.data(), chunk.size());
    out.insert(out.end(), chunk.begin(), chunk.begin() + long(s.TotalOut() - before));
  } while (*last == 0);
  return out;
}

}  // namespace

struct ZlibCase {
  const char* what;
  int level;
  int strategy;
  int windowBits;
};

class InflateZlib : public ::testing::TestWithParam<ZlibCase> {};

TEST_P(InflateZlib, DecodesWhatZlibWrites) {
  const ZlibCase& c = GetParam();
  const Bytes data = Corpus(700000, 3);
  const Bytes z = Compress(data, c.level, c.strategy, c.windowBits);
  int last = 0;
  EXPECT_EQ(InflateAll(z, &last), data) << c.what;
  EXPECT_EQ(last, 1) << c.what;
  CheckRandomRequests(z, data, 5, 700);
  CheckRandomRequests(z, data, 6, 70000);
}

INSTANTIATE_TEST_SUITE_P(
    Strategies, InflateZlib,
    ::testing::Values(ZlibCase{"default level", Z_DEFAULT_COMPRESSION, Z_DEFAULT_STRATEGY, 15},
                      ZlibCase{"level 9", 9, Z_DEFAULT_STRATEGY, 15},
                      ZlibCase{"level 1", 1, Z_DEFAULT_STRATEGY, 15},
                      ZlibCase{"stored only (level 0)", 0, Z_DEFAULT_STRATEGY, 15},
                      ZlibCase{"fixed Huffman only (Z_FIXED)", 9, Z_FIXED, 15},
                      ZlibCase{"Huffman only, no matches", 9, Z_HUFFMAN_ONLY, 15},
                      ZlibCase{"runs only (Z_RLE)", 9, Z_RLE, 15},
                      ZlibCase{"filtered", 9, Z_FILTERED, 15},
                      ZlibCase{"512-byte window", 9, Z_DEFAULT_STRATEGY, 9},
                      ZlibCase{"4 KB window", 9, Z_DEFAULT_STRATEGY, 12}));

// Many small and odd inputs, where zlib writes single distance codes, tiny
// trees and one-symbol blocks.
TEST(InflateZlibSmall, ManyShortInputs) {
  std::mt19937 rng(17);
  for (int i = 0; i < 3000; ++i) {
    Bytes data(rng() % 400);
    const int alphabet = 1 + int(rng() % 6);
    for (auto& b : data) b = uint8_t('a' + rng() % unsigned(alphabet));
    const int level = int(rng() % 10);
    const Bytes z = Compress(data, level);
    int last = 0;
    ASSERT_EQ(InflateAll(z, &last), data) << i;
    ASSERT_EQ(last, 1) << i;
  }
}

// Every single-bit flip in a zlib stream: decoded or refused, never a crash,
// and a decoded stream must match its Adler-32 (the decoder checks it).
TEST(InflateZlibSmall, BitFlipsNeverCrash) {
  const Bytes data = Corpus(3000, 4);
  const Bytes z = Compress(data, 9);
  for (size_t bit = 16; bit < z.size() * 8; bit += 3) {
    Bytes damaged = z;
    damaged[bit / 8] ^= uint8_t(1u << (bit % 8));
    int last = 0;
    const Bytes out = InflateAll(damaged, &last);
    if (last == 1) {
      EXPECT_EQ(out, data) << bit;
    }
  }
}

TEST(ArchiveZlib, ArchivesCompressedByZlib) {
  std::vector<kvtest::Entry> entries;
  for (int i = 0; i < 20; ++i) {
    kvtest::Entry e;
    e.name = "0001\\FF\\file" + std::to_string(i) + ".bin";
    e.body = Corpus(size_t(i) * 9000 + (i % 3 == 0 ? 0 : 17), uint32_t(i));
    entries.push_back(e);
  }
  kvtest::ArchiveOptions o;
  o.compress = ZlibDefault;
  o.password = "zlib";
  const Bytes archive = kvtest::BuildArchive(entries, o);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), "zlib"), 0);
  for (size_t i = 0; i < entries.size(); i += 2) {
    ArchiveEntryHeader h;
    std::unique_ptr<uint8_t[]> body(reader.FindAndRead(entries[i].name.c_str(), &h, nullptr));
    if (entries[i].body.empty()) {
      EXPECT_TRUE(body);
      continue;
    }
    ASSERT_TRUE(body) << i;
    EXPECT_TRUE(std::equal(entries[i].body.begin(), entries[i].body.end(), body.get())) << i;
  }
}

// Writes the fuzz targets' seed corpora (tests/fuzz/corpus/archive and
// corpus/inflate) when KV_SEED_DIR names the corpus folder:
//   KV_SEED_DIR=tests/fuzz/corpus engine_zlib_tests
//     --gtest_also_run_disabled_tests --gtest_filter='*WriteFuzzSeeds*'
// (one command line).
TEST(FuzzSeeds, DISABLED_WriteFuzzSeeds) {
  const char* root = std::getenv("KV_SEED_DIR");
  ASSERT_NE(root, nullptr);
  auto write = [&](const std::string& name, uint8_t first, const Bytes& body) {
    Bytes all = {first};
    all.insert(all.end(), body.begin(), body.end());
    std::ofstream(std::string(root) + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(all.data()), std::streamsize(all.size()));
  };
  std::vector<kvtest::Entry> entries(4);
  entries[0].name = "Setup.ini";
  entries[0].body = Corpus(600, 1);
  entries[1].name = "empty";
  entries[2].name = std::string(260, 'n');
  entries[2].body = Corpus(40, 2);
  entries[3].name = "0001\\F7\\lang.lng";
  entries[3].body = Corpus(900, 3);
  kvtest::ArchiveOptions o;
  o.compress = ZlibDefault;
  write("archive/kvz2-zlib", 0, kvtest::BuildArchive(entries, o));
  o.version = 1;
  write("archive/kvz1-zlib", 0, kvtest::BuildArchive(entries, o));
  o.version = 2;
  o.password = "secret";
  write("archive/kvz2-encrypted", 2, kvtest::BuildArchive(entries, o));
  kvtest::ArchiveOptions fixed;
  write("archive/kvz2-fixed", 1, kvtest::BuildArchive({entries[0], entries[3]}, fixed));
  fixed.compress = [](const Bytes& d) { return kvtest::Zlib(d, kvtest::Method::kStored); };
  write("archive/kvz2-stored", 0, kvtest::BuildArchive({entries[1], entries[3]}, fixed));

  auto seed = [&](const std::string& name, const Bytes& z) {
    Bytes body = {0x5E, 0xED, 0x12, 0x34};
    body.insert(body.end(), z.begin() + 0, z.end());
    write("inflate/" + name, body[0], Bytes(body.begin() + 1, body.end()));
  };
  const Bytes data = Corpus(3000, 9);
  seed("dynamic", Compress(data, 9));
  seed("fixed", Compress(data, 9, Z_FIXED));
  seed("stored", Compress(Bytes(data.begin(), data.begin() + 500), 0));
  seed("rle-small-window", Compress(data, 9, Z_RLE, 9));
  seed("tiny", Compress(Bytes{'a'}, 9));
}

// Inputs at the format's edges (nothing, one byte, long distance-1 runs, more
// than one 64 KB stored block, exactly one) under the encodings our own
// builder never writes, read in large, odd and byte-sized requests.
TEST(InflateZlibSmall, EdgeInputsInEveryEncoding) {
  std::mt19937 rng(11);
  Bytes noise(70000), storedEdge(65535);
  for (auto& b : noise) b = uint8_t(rng());
  for (auto& b : storedEdge) b = uint8_t(rng());
  const struct {
    const char* what;
    Bytes bytes;
  } inputs[] = {
      {"empty", {}}, {"one byte", {0x5A}}, {"zeros", Bytes(150000, 0)},
      {"text", Corpus(300000, 5)}, {"noise", noise}, {"stored block edge", storedEdge},
  };
  const struct {
    const char* what;
    int level, strategy, windowBits;
  } encodings[] = {
      {"fixed Huffman", 9, Z_FIXED, 15},           {"fixed Huffman, fast", 1, Z_FIXED, 15},
      {"stored only", 0, Z_DEFAULT_STRATEGY, 15},  {"dynamic, 512-byte window", 9, Z_DEFAULT_STRATEGY, 9},
      {"fixed, 1 KB window", 6, Z_FIXED, 10},
  };
  for (const auto& e : encodings) {
    for (const auto& d : inputs) {
      SCOPED_TRACE(std::string(e.what) + " / " + d.what);
      const Bytes z = Compress(d.bytes, e.level, e.strategy, e.windowBits);
      // Stored at level 0; never dynamic with Z_FIXED (zlib stores what
      // fixed codes would enlarge).
      const int firstBlock = (z[2] >> 1) & 3;
      if (e.level == 0) {
        ASSERT_EQ(firstBlock, 0);
      }
      if (e.strategy == Z_FIXED) {
        ASSERT_NE(firstBlock, 2);
      }
      int last = 0;
      EXPECT_TRUE(InflateAll(z, &last) == d.bytes);
      EXPECT_EQ(last, 1);
      if (!d.bytes.empty()) CheckRandomRequests(z, d.bytes, 7, d.bytes.size() > 70000 ? 4093 : 7);
    }
  }
}

// A zlib stream is only sound with its trailer: a wrong Adler-32 fails the
// last request even though every byte decoded.
TEST(InflateZlibSmall, WrongTrailerFailsWithChecksumFault) {
  const Bytes data = Corpus(5000, 6);
  for (int level : {0, 9}) {
    Bytes z = Compress(data, level, Z_FIXED);
    z.back() ^= 1;
    BufferedFile file;
    file.OpenMemory(z.data(), z.size());
    InflateStream s;
    ASSERT_EQ(s.Open(&file), 0);
    Bytes out(data.size());
    EXPECT_EQ(s.Run(out.data(), out.size()), 0) << level;
    EXPECT_EQ(s.Run(out.data(), 1), -3) << level;
    EXPECT_EQ(s.LastFault(), InflateStream::Fault::kChecksum) << level;
  }
}
