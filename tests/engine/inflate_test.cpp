// InflateStream on streams made by the test-side writer and by hand: one
// case per fault, resumable requests, null output, progress, open results.
// Streams from zlib itself are in inflate_zlibtest.cpp (Linux builds).
#include "setup/engine/inflate_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "engine/support/kvz_writer.h"
#include "setup/engine/buffered_file.h"

using kvtest::BitWriter;
using kvtest::Bytes;
using Fault = InflateStream::Fault;

namespace {

struct Result {
  int open = 0;
  int last = 0;  // the result of the last Run
  Fault fault = Fault::kNone;
  Bytes out;
};

// Decodes the whole stream in requests of `chunk` bytes.
Result Inflate(const Bytes& z, size_t chunk = 1 << 30, size_t buffer = 4096) {
  BufferedFile file;
  file.OpenMemory(z.data(), z.size(), buffer);
  InflateStream s;
  Result r;
  r.open = s.Open(&file);
  if (r.open != 0) return r;
  Bytes piece(std::min<size_t>(chunk, 1 << 24));
  for (;;) {
    const uint64_t before = s.TotalOut();
    r.last = s.Run(piece.data(), piece.size());
    r.out.insert(r.out.end(), piece.begin(), piece.begin() + long(s.TotalOut() - before));
    if (r.last != 0) break;
  }
  r.fault = s.LastFault();
  return r;
}

Bytes Wrap(BitWriter& w, const Bytes& expected) {
  return kvtest::ZlibWrap(w.Done(), kvtest::Adler32(expected.data(), expected.size()));
}

Bytes Text(const char* s) { return Bytes(s, s + std::strlen(s)); }

// --- Dynamic block headers by hand ---------------------------------------

constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

struct Canonical {
  std::vector<uint32_t> code;
  std::vector<int> length;
};

// RFC 1951 3.2.2, for writing.
Canonical MakeCanonical(const std::vector<int>& lengths) {
  int count[16] = {};
  for (int l : lengths) count[l]++;
  count[0] = 0;
  uint32_t next[16] = {};
  uint32_t code = 0;
  for (int b = 1; b < 16; ++b) {
    code = (code + uint32_t(count[b - 1])) << 1;
    next[b] = code;
  }
  Canonical c;
  c.length = lengths;
  for (int l : lengths) c.code.push_back(l ? next[l]++ : 0);
  return c;
}

// A dynamic header whose code-length code gives lengths 0-12 and repeat
// codes 16-18 four bits each (complete), unless clLengths says otherwise.
struct Dynamic {
  BitWriter w;
  Canonical cl;

  explicit Dynamic(int hlit, int hdist, std::vector<int> clLengths = {}) {
    if (clLengths.empty()) {
      clLengths.assign(19, 0);
      for (int s = 0; s <= 12; ++s) clLengths[size_t(s)] = 4;
      clLengths[16] = clLengths[17] = clLengths[18] = 4;
    }
    cl = MakeCanonical(clLengths);
    w.Bits(1, 1);  // BFINAL
    w.Bits(2, 2);  // dynamic
    w.Bits(uint32_t(hlit - 257), 5);
    w.Bits(uint32_t(hdist - 1), 5);
    w.Bits(19 - 4, 4);
    for (int i = 0; i < 19; ++i) w.Bits(uint32_t(clLengths[size_t(kOrder[i])]), 3);
  }
  void Length(int symbol, uint32_t extra = 0, int extraBits = 0) {
    w.Code(cl.code[size_t(symbol)], cl.length[size_t(symbol)]);
    w.Bits(extra, extraBits);
  }
  // Each length written plainly, zeros in runs of 18/17.
  void Lengths(const std::vector<int>& lengths) {
    size_t i = 0;
    while (i < lengths.size()) {
      size_t run = 0;
      while (i + run < lengths.size() && lengths[i + run] == 0 && run < 138) ++run;
      if (run >= 11) {
        Length(18, uint32_t(run - 11), 7);
        i += run;
      } else if (run >= 3) {
        Length(17, uint32_t(run - 3), 3);
        i += run;
      } else {
        Length(lengths[i++]);
      }
    }
  }
};

// Literal/length lengths for 258 symbols: 'a' 1 bit, end of block and
// length 3 (symbol 257) 2 bits each.
std::vector<int> SmallLiteralCode() {
  std::vector<int> lit(258, 0);
  lit['a'] = 1;
  lit[256] = 2;
  lit[257] = 2;
  return lit;
}

}  // namespace

// --- Open --------------------------------------------------------------------

TEST(InflateOpen, HeaderResults) {
  struct Case {
    const char* what;
    Bytes header;
    int expected;
  };
  const Case cases[] = {
      {"no bytes", {}, -5},
      {"one byte", {0x78}, -5},
      {"check bits wrong", {0x78, 0x9D}, -3},
      {"method 7", {0x77, 0x85}, -3},
      {"window 64 KB (CINFO 8)", {0x88, 0x98}, -3},
      {"preset dictionary", {0x78, 0xBB}, 2},
      {"usual header", {0x78, 0x9C}, 0},
      {"256-byte window", {0x08, 0x1D}, 0},
  };
  for (const Case& c : cases) {
    BufferedFile file;
    file.OpenMemory(c.header.data(), c.header.size());
    InflateStream s;
    EXPECT_EQ(s.Open(&file), c.expected) << c.what;
  }
}

TEST(InflateOpen, WindowSizeComesFromCmf) {
  const Bytes header = {0x48, 0x0D};  // CINFO 4: 4 KB
  ASSERT_EQ((header[0] * 256 + header[1]) % 31, 0);
  BufferedFile file;
  file.OpenMemory(header.data(), header.size());
  InflateStream s;
  ASSERT_EQ(s.Open(&file), 0);
  EXPECT_EQ(s.WindowSize(), 4096u);
  EXPECT_EQ(s.State(), InflateStream::kNextBlock);
}

TEST(InflateRun, BadStateBeforeOpenAndAfterAnError) {
  InflateStream s;
  uint8_t b[4];
  EXPECT_EQ(s.Run(b, 4), -2) << "not open";
  BitWriter w;
  w.Bits(1, 1);
  w.Bits(3, 2);  // BTYPE 3
  const Bytes z = Wrap(w, {});
  BufferedFile file;
  file.OpenMemory(z.data(), z.size());
  ASSERT_EQ(s.Open(&file), 0);
  EXPECT_EQ(s.Run(b, 4), -3);
  EXPECT_EQ(s.State(), InflateStream::kFailed);
  EXPECT_EQ(s.Run(b, 4), -2) << "after a data error";
}

// --- Well-formed streams ----------------------------------------------------

TEST(InflateRun, StoredBlocks) {
  const Bytes data = kvtest::MixedData(200000, 7);
  const Bytes z = kvtest::ZlibWrap(kvtest::DeflateStored(data, 7000), kvtest::Adler32(data.data(), data.size()));
  const Result r = Inflate(z);
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, data);
}

TEST(InflateRun, EmptyStoredBlockAndEmptyStream) {
  const Result r = Inflate(kvtest::Zlib({}, kvtest::Method::kStored));
  EXPECT_EQ(r.last, 1);
  EXPECT_TRUE(r.out.empty());
}

TEST(InflateRun, FixedHuffmanBlocks) {
  const Bytes data = kvtest::MixedData(300000, 8);
  const Result r = Inflate(kvtest::ZlibWrap(kvtest::DeflateFixed(data, 32768, 50000),
                                            kvtest::Adler32(data.data(), data.size())));
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, data);
}

TEST(InflateRun, FinishedStreamKeepsAnsweringFinished) {
  BufferedFile file;
  const Bytes z = kvtest::Zlib(Text("abc"));
  file.OpenMemory(z.data(), z.size());
  InflateStream s;
  ASSERT_EQ(s.Open(&file), 0);
  uint8_t out[3];
  EXPECT_EQ(s.Run(out, 3), 0) << "exactly satisfied: the trailer waits";
  EXPECT_EQ(s.Run(out, 1), 1);
  EXPECT_EQ(s.State(), InflateStream::kFinished);
  EXPECT_EQ(s.Run(out, 1), 1);
}

// Requests of every size from 1 on stop inside stored blocks and inside
// back-references; the next request must go on exactly there.
TEST(InflateRun, RequestsSplitStoredBlocksAndBackReferences) {
  Bytes data = kvtest::MixedData(40000, 9);
  Bytes runs(5000, 'r');  // long matches at distance 1
  data.insert(data.end(), runs.begin(), runs.end());
  const Bytes fixed = kvtest::Zlib(data, kvtest::Method::kFixed);
  const Bytes stored = kvtest::ZlibWrap(kvtest::DeflateStored(data, 1000), kvtest::Adler32(data.data(), data.size()));
  for (size_t chunk : {1, 2, 3, 7, 100, 257, 258, 259, 1023, 4096, 65536}) {
    Result r = Inflate(fixed, chunk);
    EXPECT_EQ(r.last, 1) << chunk;
    EXPECT_EQ(r.out, data) << "fixed, requests of " << chunk;
    r = Inflate(stored, chunk);
    EXPECT_EQ(r.out, data) << "stored, requests of " << chunk;
  }
}

TEST(InflateRun, RandomRequestsWithAndWithoutOutput) {
  const Bytes data = kvtest::MixedData(150000, 10);
  const Bytes z = kvtest::Zlib(data);
  for (uint32_t seed = 1; seed <= 5; ++seed) {
    std::mt19937 rng(seed);
    BufferedFile file;
    file.OpenMemory(z.data(), z.size(), 1 + rng() % 5000);  // odd refill sizes too
    InflateStream s;
    ASSERT_EQ(s.Open(&file), 0);
    size_t pos = 0;
    int r = 0;
    while (pos < data.size()) {
      const size_t n = std::min<size_t>(1 + rng() % 3000, data.size() - pos);
      if (rng() % 3 == 0) {
        r = s.Run(nullptr, n);  // discarded: only the count moves
      } else {
        Bytes piece(n);
        r = s.Run(piece.data(), n);
        ASSERT_TRUE(std::equal(piece.begin(), piece.end(), data.begin() + long(pos))) << "seed " << seed << " at " << pos;
      }
      ASSERT_EQ(r, 0);
      pos += n;
      ASSERT_EQ(s.TotalOut(), pos);
    }
    uint8_t extra;
    EXPECT_EQ(s.Run(&extra, 1), 1);
  }
}

TEST(InflateRun, ProgressEvery1024BytesCountedFromOpen) {
  const Bytes data = kvtest::MixedData(10000, 11);
  const Bytes z = kvtest::Zlib(data);
  BufferedFile file;
  file.OpenMemory(z.data(), z.size());
  InflateStream s;
  ASSERT_EQ(s.Open(&file), 0);
  std::vector<uint64_t> calls;  // TotalOut() is not visible here: count calls
  struct Counter {
    int calls = 0;
    uint32_t sum = 0;
  } counter;
  ASSERT_EQ(s.Run(nullptr, 1000), 0);  // no callback yet: 1000 bytes
  s.SetProgress(
      [](void* user, uint32_t n) {
        static_cast<Counter*>(user)->calls++;
        static_cast<Counter*>(user)->sum += n;
      },
      &counter);
  ASSERT_EQ(s.Run(nullptr, 48), 0);  // 1048: crossed 1024
  EXPECT_EQ(counter.calls, 1);
  ASSERT_EQ(s.Run(nullptr, 9000 - 1048), 0);  // 9000: 8 multiples in all
  EXPECT_EQ(counter.calls, 8);
  EXPECT_EQ(counter.sum, 8u * 1024);
}

// CMF may ask for a window as small as 256 bytes; distances up to it work.
TEST(InflateRun, SmallWindow) {
  const Bytes data = kvtest::MixedData(20000, 12);
  const Bytes raw = kvtest::DeflateFixed(data, 256);
  const Result r = Inflate(kvtest::ZlibWrap(raw, kvtest::Adler32(data.data(), data.size()), 0x08), 100);
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, data);
}

// RFC 1951 allows one distance code of one bit; zlib writes such blocks.
TEST(InflateRun, SingleDistanceCodeOfOneBit) {
  Dynamic d(258, 1);
  std::vector<int> lengths = SmallLiteralCode();
  lengths.push_back(1);  // distance 1 only
  d.Lengths(lengths);
  const Canonical lit = MakeCanonical(SmallLiteralCode());
  d.w.Code(lit.code['a'], 1);
  d.w.Code(lit.code[257], 2);  // length 3
  d.w.Code(0, 1);              // distance symbol 0: distance 1
  d.w.Code(lit.code[256], 2);
  const Bytes expected = Text("aaaa");
  const Result r = Inflate(Wrap(d.w, expected));
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, expected);
}

// No distance code at all: a block of literals only.
TEST(InflateRun, NoDistanceCodes) {
  Dynamic d(258, 1);
  std::vector<int> lengths = SmallLiteralCode();
  lengths.push_back(0);
  d.Lengths(lengths);
  const Canonical lit = MakeCanonical(SmallLiteralCode());
  d.w.Code(lit.code['a'], 1);
  d.w.Code(lit.code['a'], 1);
  d.w.Code(lit.code[256], 2);
  const Result r = Inflate(Wrap(d.w, Text("aa")));
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, Text("aa"));
}

// Only the end-of-block code, one bit long (zlib accepts it too).
TEST(InflateRun, LoneEndOfBlockCode) {
  Dynamic d(257, 1);
  std::vector<int> lengths(257, 0);
  lengths[256] = 1;
  lengths.push_back(0);
  d.Lengths(lengths);
  d.w.Code(0, 1);
  const Result r = Inflate(Wrap(d.w, {}));
  EXPECT_EQ(r.last, 1);
  EXPECT_TRUE(r.out.empty());
}

// Codes longer than the lookup table go through the tree walk.
TEST(InflateRun, CodesLongerThanTheTable) {
  // Literal lengths: 'x' 1 bit, end of block 2 bits, 'A'..'M' 3..15 bits
  // and 'O' 15 bits: a complete code up to 15-bit codes.
  std::vector<int> lit(257, 0);
  lit['x'] = 1;
  lit[256] = 2;
  for (int i = 0; i < 13; ++i) lit[size_t('A' + i)] = 3 + i;
  lit['O'] = 15;
  // The default code-length code only covers lengths up to 12: use plain
  // 4-bit codes for 0..15 here.
  std::vector<int> cl(19, 0);
  for (int s = 0; s < 16; ++s) cl[size_t(s)] = 4;
  Dynamic e(257, 1, cl);
  std::vector<int> all = lit;
  all.push_back(0);
  for (int l : all) e.Length(l);
  const Canonical c = MakeCanonical(lit);
  Bytes expected;
  for (int s : {'x', 'A', 'M', 'O', 'x', 'L', 'B'}) {
    e.w.Code(c.code[size_t(s)], c.length[size_t(s)]);
    expected.push_back(uint8_t(s));
  }
  e.w.Code(c.code[256], 2);
  const Result r = Inflate(Wrap(e.w, expected), 1);
  EXPECT_EQ(r.last, 1);
  EXPECT_EQ(r.out, expected);
}

// --- Faults: each class of invalid stream gives -3 and names its cause ---

struct FaultCase {
  const char* what;
  Bytes stream;
  Fault fault;
};

class InflateFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(InflateFault, GivesDataError) {
  const FaultCase& c = GetParam();
  for (size_t chunk : {size_t(1), size_t(1) << 20}) {
    const Result r = Inflate(c.stream, chunk);
    ASSERT_EQ(r.open, 0) << c.what;
    EXPECT_EQ(r.last, -3) << c.what;
    EXPECT_EQ(r.fault, c.fault) << c.what;
  }
}

namespace {

std::vector<FaultCase> FaultCases() {
  std::vector<FaultCase> cases;
  {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(3, 2);
    cases.push_back({"block type 3", Wrap(w, {}), Fault::kBlockType});
  }
  {
    Bytes raw = {1, 5, 0, 0xFA, 0xFE, 'a', 'b', 'c', 'd', 'e'};  // NLEN off by one bit
    cases.push_back({"stored LEN/NLEN mismatch", kvtest::ZlibWrap(raw, 0), Fault::kStoredLength});
  }
  {
    const Bytes data = kvtest::MixedData(5000, 1);
    Bytes z = kvtest::Zlib(data);
    z.resize(z.size() / 2);
    cases.push_back({"stream cut in half", z, Fault::kTruncated});
    Bytes s = kvtest::Zlib(data, kvtest::Method::kStored);
    s.resize(s.size() - 100);
    cases.push_back({"stored block cut short", s, Fault::kTruncated});
  }
  {
    const Bytes data = Text("checksum me");
    Bytes z = kvtest::Zlib(data);
    z.back() ^= 1;
    cases.push_back({"Adler-32 mismatch", z, Fault::kChecksum});
    Bytes cut = kvtest::Zlib(data);
    cut.pop_back();
    cases.push_back({"trailer cut", cut, Fault::kTruncated});
  }
  {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(1, 2);
    kvtest::FixedSymbol(w, 'a');
    kvtest::FixedMatch(w, 3, 2);  // only one byte so far
    kvtest::FixedSymbol(w, 256);
    cases.push_back({"distance before the start", Wrap(w, Text("a")), Fault::kDistanceBeforeStart});
  }
  {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(1, 2);
    for (int i = 0; i < 400; ++i) kvtest::FixedSymbol(w, 'a' + i % 26);
    kvtest::FixedMatch(w, 3, 300);  // the 256-byte window has lost it
    kvtest::FixedSymbol(w, 256);
    cases.push_back({"distance beyond a 256-byte window", kvtest::ZlibWrap(w.Done(), 0, 0x08), Fault::kDistanceTooFar});
  }
  {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(1, 2);
    kvtest::FixedSymbol(w, 'a');
    kvtest::FixedSymbol(w, 286);
    cases.push_back({"literal/length symbol 286", Wrap(w, Text("a")), Fault::kLengthSymbol});
  }
  {
    BitWriter w;
    w.Bits(1, 1);
    w.Bits(1, 2);
    kvtest::FixedSymbol(w, 'a');
    kvtest::FixedSymbol(w, 257);
    w.Code(30, 5);
    cases.push_back({"distance symbol 30", Wrap(w, Text("a")), Fault::kDistanceSymbol});
  }
  {
    std::vector<int> cl(19, 0);
    cl[0] = cl[1] = cl[2] = 1;
    Dynamic d(257, 1, cl);
    cases.push_back({"code-length code over-subscribed", Wrap(d.w, {}), Fault::kCodeLengthCode});
  }
  {
    std::vector<int> cl(19, 0);
    cl[0] = 2;
    cl[1] = 2;
    Dynamic d(257, 1, cl);
    cases.push_back({"code-length code incomplete", Wrap(d.w, {}), Fault::kCodeLengthCode});
  }
  {
    Dynamic d(258, 1);
    std::vector<int> lit = SmallLiteralCode();
    lit[256] = 1;  // three codes of one or two bits: 1/2 + 1/2 + 1/4
    lit.push_back(1);
    d.Lengths(lit);
    cases.push_back({"literal/length code over-subscribed", Wrap(d.w, {}), Fault::kOversubscribed});
  }
  {
    Dynamic d(258, 1);
    std::vector<int> lit = SmallLiteralCode();
    lit['a'] = 2;  // 1/4 * 3
    lit.push_back(1);
    d.Lengths(lit);
    cases.push_back({"literal/length code incomplete", Wrap(d.w, {}), Fault::kIncomplete});
  }
  {
    Dynamic d(258, 2);
    std::vector<int> lit = SmallLiteralCode();
    lit.push_back(1);
    lit.push_back(2);  // 1/2 + 1/4
    d.Lengths(lit);
    cases.push_back({"distance code incomplete", Wrap(d.w, {}), Fault::kIncomplete});
  }
  {
    Dynamic d(258, 3);
    std::vector<int> lit = SmallLiteralCode();
    lit.push_back(1);
    lit.push_back(1);
    lit.push_back(1);
    d.Lengths(lit);
    cases.push_back({"distance code over-subscribed", Wrap(d.w, {}), Fault::kOversubscribed});
  }
  {
    Dynamic d(258, 1);
    d.Length(16, 0, 2);
    cases.push_back({"repeat of no previous length", Wrap(d.w, {}), Fault::kRepeatWithoutPrevious});
  }
  {
    Dynamic d(258, 1);
    d.Length(18, 127, 7);  // 138 zeros
    d.Length(18, 108, 7);  // 119 more: 257
    d.Length(18, 0, 7);    // 11 more: past 259
    cases.push_back({"zeros past the end of the lengths", Wrap(d.w, {}), Fault::kRepeatPastEnd});
  }
  {
    Dynamic d(258, 1);
    d.Length(18, 127, 7);  // 138 zeros
    d.Length(18, 107, 7);  // 118 more: 256
    d.Length(2);
    d.Length(16, 0, 2);  // 3 more twos: 260 > 259
    cases.push_back({"repeat past the end of the lengths", Wrap(d.w, {}), Fault::kRepeatPastEnd});
  }
  {
    Dynamic d(258, 1);
    std::vector<int> lit(258, 0);
    lit['a'] = 1;
    lit[257] = 1;
    lit.push_back(1);
    d.Lengths(lit);
    cases.push_back({"no end-of-block code", Wrap(d.w, {}), Fault::kMissingEndOfBlock});
  }
  {
    Dynamic d(258, 1);
    std::vector<int> lit = SmallLiteralCode();
    lit.push_back(1);
    d.Lengths(lit);
    const Canonical c = MakeCanonical(SmallLiteralCode());
    d.w.Code(c.code['a'], 1);
    d.w.Code(c.code[257], 2);
    d.w.Code(1, 1);  // the distance code has no code 1
    cases.push_back({"bits of no distance code", Wrap(d.w, Text("a")), Fault::kInvalidCode});
  }
  {
    Dynamic d(258, 1);
    std::vector<int> lit = SmallLiteralCode();
    lit.push_back(0);
    d.Lengths(lit);
    const Canonical c = MakeCanonical(SmallLiteralCode());
    d.w.Code(c.code['a'], 1);
    d.w.Code(c.code[257], 2);
    d.w.Code(0, 1);
    cases.push_back({"a match with no distance code", Wrap(d.w, Text("a")), Fault::kInvalidCode});
  }
  return cases;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Streams, InflateFault, ::testing::ValuesIn(FaultCases()));

// Garbage after a good header must never crash or overrun (the fuzz target
// does this at length; here a fixed sample for every build).
TEST(InflateRun, RandomGarbageEndsCleanly) {
  std::mt19937 rng(99);
  for (int i = 0; i < 2000; ++i) {
    Bytes z = {0x78, 0x9C};
    const size_t n = rng() % 200;
    for (size_t k = 0; k < n; ++k) z.push_back(uint8_t(rng()));
    const Result r = Inflate(z, 1 + rng() % 100);
    EXPECT_NE(r.last, 0);
  }
}
