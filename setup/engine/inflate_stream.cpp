// InflateStream: see the header for the tables and the result codes. The
// functions follow the format: bit input, stored blocks, code
// construction, Huffman blocks, fixed and dynamic block headers, the
// trailer, then Run.
#include "setup/engine/inflate_stream.h"

#include <cstring>
#include <new>

#include "setup/engine/buffered_file.h"

namespace {

// Table entry: bits 0-3 code length, 4-7 kind, 8-11 extra bits, 16-31
// value (literal byte, length or distance base, code-length symbol, tree
// node). An invalid entry's value is 1 for a symbol that has a code but no
// meaning (286, 287, distances 30, 31) and 0 for bits that no code has.
enum Kind : uint32_t {
  kInvalid = 0,
  kLiteral = 1,
  kLength = 2,
  kEndOfBlock = 3,
  kSubtree = 4,
  kDistance = 5,
  kCodeLengthSymbol = 6,
};
enum TreeKind { kLiteralTree, kDistanceTree, kCodeLengthTree };

constexpr uint32_t Entry(uint32_t kind, uint32_t bits, uint32_t extra, uint32_t value) {
  return bits | (kind << 4) | (extra << 8) | (value << 16);
}
inline uint32_t KindOf(uint32_t e) { return (e >> 4) & 15; }
inline unsigned BitsOf(uint32_t e) { return e & 15; }
inline unsigned ExtraOf(uint32_t e) { return (e >> 8) & 15; }
inline uint32_t ValueOf(uint32_t e) { return e >> 16; }

// RFC 1951 3.2.5: lengths 257..285 and distances 0..29.
constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                        33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// RFC 1951 3.2.7: the order of the code-length code lengths.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

uint32_t SymbolEntry(int treeKind, unsigned symbol, unsigned bits) {
  switch (treeKind) {
    case kLiteralTree:
      if (symbol < 256) return Entry(kLiteral, bits, 0, symbol);
      if (symbol == 256) return Entry(kEndOfBlock, bits, 0, 0);
      if (symbol < 286) return Entry(kLength, bits, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
      return Entry(kInvalid, bits, 0, 1);
    case kDistanceTree:
      if (symbol < 30) return Entry(kDistance, bits, kDistanceExtra[symbol], kDistanceBase[symbol]);
      return Entry(kInvalid, bits, 0, 1);
    default:
      return Entry(kCodeLengthSymbol, bits, 0, symbol);
  }
}

uint32_t Reverse(uint32_t code, int length) {
  uint32_t r = 0;
  for (int i = 0; i < length; ++i) {
    r = (r << 1) | (code & 1);
    code >>= 1;
  }
  return r;
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  return v;
}

// RFC 1950 8.2, summed in runs short enough that the sums cannot overflow.
uint32_t Adler32(uint32_t adler, const uint8_t* p, size_t n) {
  constexpr uint32_t kBase = 65521;
  constexpr size_t kRun = 5552;
  uint32_t a = adler & 0xFFFF;
  uint32_t b = adler >> 16;
  while (n > 0) {
    size_t k = n < kRun ? n : kRun;
    n -= k;
    while (k >= 8) {
      a += p[0]; b += a;
      a += p[1]; b += a;
      a += p[2]; b += a;
      a += p[3]; b += a;
      a += p[4]; b += a;
      a += p[5]; b += a;
      a += p[6]; b += a;
      a += p[7]; b += a;
      p += 8;
      k -= 8;
    }
    while (k-- > 0) {
      a += *p++;
      b += a;
    }
    a %= kBase;
    b %= kBase;
  }
  return (b << 16) | a;
}

enum BuildResult { kBuilt, kOversubscribedSet, kIncompleteSet };

}  // namespace

struct InflateStream::Tables {
  Node literalTree[2 * 288 - 1];
  Node distanceTree[2 * 32 - 1];
  Node codeLengthTree[2 * 19 - 1];
  uint32_t literal[1u << kLiteralTableBits];
  uint32_t distance[1u << kDistanceTableBits];
  uint32_t codeLength[1u << kCodeLengthTableBits];
  uint8_t lengths[288 + 32];
};

namespace {

// Code construction (RFC 1951 3.2.2): counts the codes of each length,
// rejects an over-subscribed set and an incomplete one (except, when
// lenient, a lone code of length 1 or no code at all: RFC 1951 allows both
// for distances and zlib writes the first), gives each symbol the next code
// of its length, walks the code from its most significant bit creating
// inner nodes as needed, and fills the lookup table. A complete code of m
// symbols makes 2m-1 nodes, so a set that passed the checks always fits.
template <typename NodeT, int kRoom>
int BuildCode(const uint8_t* lengths, int n, NodeT (&tree)[kRoom], uint32_t* table, int tableBits, int treeKind,
              bool lenient) {
  int count[16] = {};
  for (int s = 0; s < n; ++s) count[lengths[s]]++;
  const int used = n - count[0];
  int left = 1;
  for (int len = 1; len <= 15; ++len) {
    left <<= 1;
    left -= count[len];
    if (left < 0) return kOversubscribedSet;
  }
  if (left > 0 && !(lenient && (used == 0 || (used == 1 && count[1] == 1)))) return kIncompleteSet;

  int next[16];
  int code = 0;
  count[0] = 0;
  for (int len = 1; len <= 15; ++len) {
    code = (code + count[len - 1]) << 1;
    next[len] = code;
  }

  // The room is that of the whole alphabet (2 * 288 - 1 and so on): one
  // code of one bit among HDIST = 1 symbols still takes a root and a leaf.
  const int maxNodes = kRoom;
  for (int i = 0; i < maxNodes; ++i) tree[i].cell[0] = tree[i].cell[1] = -1;
  const uint32_t tableSize = 1u << tableBits;
  for (uint32_t i = 0; i < tableSize; ++i) table[i] = Entry(kInvalid, 0, 0, 0);

  int nodes = 1;
  for (int s = 0; s < n; ++s) {
    const int len = lengths[s];
    if (len == 0) continue;
    const uint32_t c = uint32_t(next[len]++);
    int node = 0;
    for (int b = len - 1; b >= 0; --b) {
      const int bit = (c >> b) & 1;
      int child = tree[node].cell[bit];
      if (child < 0) {
        if (nodes >= maxNodes) return kOversubscribedSet;
        child = nodes++;
        tree[node].cell[bit] = int16_t(child);
      }
      node = child;
      const int depth = len - b;
      if (depth == tableBits && b > 0) {
        table[Reverse(c >> b, tableBits)] = Entry(kSubtree, uint32_t(tableBits), 0, uint32_t(node));
      }
    }
    tree[node].cell[0] = -1;
    tree[node].cell[1] = int16_t(s);
    if (len <= tableBits) {
      const uint32_t e = SymbolEntry(treeKind, unsigned(s), unsigned(len));
      for (uint32_t i = Reverse(c, len); i < tableSize; i += 1u << len) table[i] = e;
    }
  }
  return kBuilt;
}

// A back-reference of n bytes (n no more than fits before the window's
// end) to `distance` bytes back. Byte order matters when the source
// overlaps the destination: the pattern repeats.
inline void CopyMatch(uint8_t* window, size_t mask, size_t pos, size_t distance, size_t n) {
  uint8_t* dst = window + pos;
  if (distance <= pos) {
    const uint8_t* src = dst - distance;
    if (distance >= 8) {
      while (n >= 8) {
        std::memcpy(dst, src, 8);
        dst += 8;
        src += 8;
        n -= 8;
      }
    } else if (distance == 1) {
      std::memset(dst, *src, n);
      return;
    }
    while (n-- > 0) *dst++ = *src++;
    return;
  }
  // The source starts in the older part of the ring, before its end.
  size_t s = (pos - distance) & mask;
  for (size_t k = 0; k < n; ++k) {
    dst[k] = window[s];
    s = (s + 1) & mask;
  }
}

}  // namespace

InflateStream::InflateStream() = default;

InflateStream::~InflateStream() { Close(); }

// --- Bit input --------------------------------------------------------------

// The next block of the source's buffer; false at the end of the input.
bool InflateStream::NextInput() {
  source_->Consume(size_t(in_ - inStart_));
  size_t available = 0;
  const uint8_t* p = source_->Peek(&available);
  in_ = inStart_ = p;
  inEnd_ = p + available;
  return available > 0;
}

// Tops the bit buffer up to at least 56 bits unless the input ends. The
// fast path loads 8 bytes at once and keeps the bytes it could not fit for
// the next time (their bits above bitCount_ are the same again then).
void InflateStream::Refill() {
  if (inEnd_ - in_ >= 8) {
    bitBuffer_ |= Load64(in_) << bitCount_;
    in_ += (63 - bitCount_) >> 3;
    bitCount_ |= 56;
    return;
  }
  while (bitCount_ <= 55) {
    if (in_ == inEnd_ && !NextInput()) return;
    bitBuffer_ |= uint64_t(*in_++) << bitCount_;
    bitCount_ += 8;
  }
}

bool InflateStream::NeedBits(unsigned n) {
  if (bitCount_ < n) Refill();
  return bitCount_ >= n;
}

// Callers make sure of the bits with NeedBits first.
uint32_t InflateStream::TakeBits(unsigned n) {
  const uint32_t v = uint32_t(bitBuffer_ & ((uint64_t(1) << n) - 1));
  bitBuffer_ >>= n;
  bitCount_ -= n;
  return v;
}

bool InflateStream::Fail(Fault fault) {
  fault_ = fault;
  return false;
}

// --- Stored blocks (RFC 1951 3.2.4) ----------------------------------------

// Copies the block's bytes: first the whole bytes still in the bit buffer,
// then straight from the source's buffer.
InflateStream::Step InflateStream::Stored(size_t segmentEnd) {
  while (remaining_ > 0 && windowPos_ < segmentEnd) {
    if (bitCount_ >= 8) {
      window_[windowPos_++] = uint8_t(bitBuffer_);
      bitBuffer_ >>= 8;
      bitCount_ -= 8;
      --remaining_;
      continue;
    }
    bitBuffer_ = 0;  // drop the copy of the byte about to be taken directly
    bitCount_ = 0;
    if (in_ == inEnd_ && !NextInput()) {
      Fail(Fault::kTruncated);
      return Step::kError;
    }
    size_t n = size_t(inEnd_ - in_);
    if (n > remaining_) n = remaining_;
    if (n > segmentEnd - windowPos_) n = segmentEnd - windowPos_;
    std::memcpy(window_ + windowPos_, in_, n);
    in_ += n;
    windowPos_ += n;
    remaining_ -= uint32_t(n);
  }
  if (remaining_ > 0) return Step::kFull;
  state_ = kNextBlock;
  return Step::kBlockDone;
}

// --- Huffman blocks (RFC 1951 3.2.5) ---------------------------------------

// Finishes a code longer than the table from the node the table gave,
// one bit per step; *entry becomes the symbol's entry.
bool InflateStream::WalkTree(const Node* tree, uint32_t* entry, int kind) {
  int node = int(ValueOf(*entry));
  for (;;) {
    if (bitCount_ == 0) {
      Refill();
      if (bitCount_ == 0) return Fail(Fault::kTruncated);
    }
    const int child = tree[node].cell[bitBuffer_ & 1];
    bitBuffer_ >>= 1;
    --bitCount_;
    if (child < 0) return Fail(Fault::kInvalidCode);
    node = child;
    if (tree[node].cell[0] < 0) {
      *entry = SymbolEntry(kind, unsigned(tree[node].cell[1]), 0);
      return true;
    }
  }
}

// Decodes literals and back-references into the window up to segmentEnd.
// The hot loop keeps the bit buffer and positions in locals; every path
// that leaves it stores them back.
InflateStream::Step InflateStream::Codes(size_t segmentEnd) {
  uint8_t* const window = window_;
  const size_t mask = windowSize_ - 1;
  const uint32_t* const literal = tables_->literal;
  const uint32_t* const distance = tables_->distance;
  constexpr uint64_t kLiteralMask = (1u << kLiteralTableBits) - 1;
  constexpr uint64_t kDistanceMask = (1u << kDistanceTableBits) - 1;

  if (remaining_ > 0) {
    size_t n = segmentEnd - windowPos_;
    if (n > remaining_) n = remaining_;
    CopyMatch(window, mask, windowPos_, copyDistance_, n);
    windowPos_ += n;
    remaining_ -= uint32_t(n);
    if (remaining_ > 0) return Step::kFull;
  }

  uint64_t bits = bitBuffer_;
  unsigned count = bitCount_;
  const uint8_t* in = in_;
  const uint8_t* inEnd = inEnd_;
  size_t pos = windowPos_;
  Fault fault = Fault::kNone;
  Step step = Step::kError;

#define KV_SAVE() (bitBuffer_ = bits, bitCount_ = count, in_ = in, windowPos_ = pos)
#define KV_LOAD() (bits = bitBuffer_, count = bitCount_, in = in_, inEnd = inEnd_)

  for (;;) {
    if (pos >= segmentEnd) {
      step = Step::kFull;
      break;
    }
    if (count < 48) {
      if (inEnd - in >= 8) {
        bits |= Load64(in) << count;
        in += (63 - count) >> 3;
        count |= 56;
      } else {
        KV_SAVE();
        Refill();
        KV_LOAD();
      }
    }
    uint32_t e = literal[bits & kLiteralMask];
    uint32_t kind = KindOf(e);
    if (kind == kLiteral) {
      const unsigned n = BitsOf(e);
      if (n > count) {
        fault = Fault::kTruncated;
        break;
      }
      bits >>= n;
      count -= n;
      window[pos++] = uint8_t(ValueOf(e));
      continue;
    }
    if (kind == kSubtree) {
      if (count < unsigned(kLiteralTableBits)) {
        fault = Fault::kTruncated;
        break;
      }
      bits >>= kLiteralTableBits;
      count -= kLiteralTableBits;
      KV_SAVE();
      const bool ok = WalkTree(tables_->literalTree, &e, kLiteralTree);
      KV_LOAD();
      if (!ok) {
        fault = fault_;
        break;
      }
      kind = KindOf(e);
      if (kind == kLiteral) {
        window[pos++] = uint8_t(ValueOf(e));
        continue;
      }
    } else {
      const unsigned n = BitsOf(e);
      if (n > count) {
        fault = Fault::kTruncated;
        break;
      }
      bits >>= n;
      count -= n;
    }
    if (kind == kEndOfBlock) {
      state_ = kNextBlock;
      step = Step::kBlockDone;
      break;
    }
    if (kind != kLength) {
      fault = ValueOf(e) ? Fault::kLengthSymbol : Fault::kInvalidCode;
      break;
    }
    unsigned extra = ExtraOf(e);
    if (extra > count) {
      fault = Fault::kTruncated;
      break;
    }
    const size_t length = ValueOf(e) + uint32_t(bits & ((1u << extra) - 1));
    bits >>= extra;
    count -= extra;

    if (count < 28) {
      KV_SAVE();
      Refill();
      KV_LOAD();
    }
    e = distance[bits & kDistanceMask];
    kind = KindOf(e);
    if (kind == kSubtree) {
      if (count < unsigned(kDistanceTableBits)) {
        fault = Fault::kTruncated;
        break;
      }
      bits >>= kDistanceTableBits;
      count -= kDistanceTableBits;
      KV_SAVE();
      const bool ok = WalkTree(tables_->distanceTree, &e, kDistanceTree);
      KV_LOAD();
      if (!ok) {
        fault = fault_;
        break;
      }
      kind = KindOf(e);
    } else {
      const unsigned n = BitsOf(e);
      if (n > count) {
        fault = Fault::kTruncated;
        break;
      }
      bits >>= n;
      count -= n;
    }
    if (kind != kDistance) {
      fault = ValueOf(e) ? Fault::kDistanceSymbol : Fault::kInvalidCode;
      break;
    }
    extra = ExtraOf(e);
    if (extra > count) {
      fault = Fault::kTruncated;
      break;
    }
    const size_t dist = ValueOf(e) + uint32_t(bits & ((1u << extra) - 1));
    bits >>= extra;
    count -= extra;
    // Before the window has wrapped, pos is the number of bytes so far.
    if (dist > (windowFull_ ? size_t(windowSize_) : pos)) {
      fault = dist > windowSize_ ? Fault::kDistanceTooFar : Fault::kDistanceBeforeStart;
      break;
    }
    size_t n = segmentEnd - pos;
    if (n > length) n = length;
    CopyMatch(window, mask, pos, dist, n);
    pos += n;
    if (n < length) {
      remaining_ = uint32_t(length - n);
      copyDistance_ = uint32_t(dist);
      step = Step::kFull;
      break;
    }
  }
  KV_SAVE();
#undef KV_SAVE
#undef KV_LOAD
  if (step == Step::kError) fault_ = fault;
  return step;
}

// --- Block headers (RFC 1951 3.2.3, 3.2.6, 3.2.7) ---------------------------

bool InflateStream::Fixed() {
  if (fixedLoaded_) return true;
  uint8_t* lengths = tables_->lengths;
  int s = 0;
  for (; s < 144; ++s) lengths[s] = 8;
  for (; s < 256; ++s) lengths[s] = 9;
  for (; s < 280; ++s) lengths[s] = 7;
  for (; s < 288; ++s) lengths[s] = 8;
  for (s = 0; s < 32; ++s) lengths[288 + s] = 5;
  BuildCode(lengths, 288, tables_->literalTree, tables_->literal, kLiteralTableBits, kLiteralTree, false);
  BuildCode(lengths + 288, 32, tables_->distanceTree, tables_->distance, kDistanceTableBits, kDistanceTree,
            false);
  fixedLoaded_ = true;
  return true;
}

bool InflateStream::Dynamic() {
  fixedLoaded_ = false;
  if (!NeedBits(14)) return Fail(Fault::kTruncated);
  const int hlit = int(TakeBits(5)) + 257;
  const int hdist = int(TakeBits(5)) + 1;
  const int hclen = int(TakeBits(4)) + 4;

  uint8_t codeLengths[19] = {};
  for (int i = 0; i < hclen; ++i) {
    if (!NeedBits(3)) return Fail(Fault::kTruncated);
    codeLengths[kCodeLengthOrder[i]] = uint8_t(TakeBits(3));
  }
  if (BuildCode(codeLengths, 19, tables_->codeLengthTree, tables_->codeLength, kCodeLengthTableBits,
                kCodeLengthTree, false) != kBuilt) {
    return Fail(Fault::kCodeLengthCode);
  }

  uint8_t* lengths = tables_->lengths;
  const int total = hlit + hdist;
  int i = 0;
  while (i < total) {
    // Code-length codes are at most 7 bits, all in the table.
    if (bitCount_ < 14) Refill();
    const uint32_t e = tables_->codeLength[bitBuffer_ & ((1u << kCodeLengthTableBits) - 1)];
    if (BitsOf(e) > bitCount_) return Fail(Fault::kTruncated);
    TakeBits(BitsOf(e));
    const unsigned symbol = ValueOf(e);
    if (symbol < 16) {
      lengths[i++] = uint8_t(symbol);
      continue;
    }
    uint8_t value = 0;
    int repeat;
    if (symbol == 16) {
      if (i == 0) return Fail(Fault::kRepeatWithoutPrevious);
      value = lengths[i - 1];
      if (!NeedBits(2)) return Fail(Fault::kTruncated);
      repeat = 3 + int(TakeBits(2));
    } else if (symbol == 17) {
      if (!NeedBits(3)) return Fail(Fault::kTruncated);
      repeat = 3 + int(TakeBits(3));
    } else {
      if (!NeedBits(7)) return Fail(Fault::kTruncated);
      repeat = 11 + int(TakeBits(7));
    }
    if (i + repeat > total) return Fail(Fault::kRepeatPastEnd);
    std::memset(lengths + i, value, size_t(repeat));
    i += repeat;
  }
  if (lengths[256] == 0) return Fail(Fault::kMissingEndOfBlock);

  int r = BuildCode(lengths, hlit, tables_->literalTree, tables_->literal, kLiteralTableBits, kLiteralTree, true);
  if (r == kBuilt) {
    r = BuildCode(lengths + hlit, hdist, tables_->distanceTree, tables_->distance, kDistanceTableBits,
                  kDistanceTree, true);
  }
  if (r == kOversubscribedSet) return Fail(Fault::kOversubscribed);
  if (r == kIncompleteSet) return Fail(Fault::kIncomplete);
  return true;
}

// BFINAL and BTYPE, then what the block type needs before its data.
bool InflateStream::Header() {
  if (!NeedBits(3)) return Fail(Fault::kTruncated);
  lastBlock_ = TakeBits(1) != 0;
  switch (TakeBits(2)) {
    case 0: {
      TakeBits(bitCount_ & 7);
      if (!NeedBits(32)) return Fail(Fault::kTruncated);
      const uint32_t len = TakeBits(16);
      const uint32_t nlen = TakeBits(16);
      if ((len ^ 0xFFFF) != nlen) return Fail(Fault::kStoredLength);
      remaining_ = len;
      state_ = kStoredBlock;
      return true;
    }
    case 1:
      Fixed();
      state_ = kHuffmanBlock;
      return true;
    case 2:
      if (!Dynamic()) return false;
      state_ = kHuffmanBlock;
      return true;
    default:
      return Fail(Fault::kBlockType);
  }
}

// RFC 1950: the big-endian Adler-32 of the data, from the next byte boundary.
bool InflateStream::Trailer() {
  TakeBits(bitCount_ & 7);
  if (!NeedBits(32)) return Fail(Fault::kTruncated);
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = (v << 8) | TakeBits(8);
  trailerAdler_ = v;
  if (v != adler_) return Fail(Fault::kChecksum);
  return true;
}

// --- Requests ----------------------------------------------------------------

// Hands window bytes [from, to) on: checksum, caller's buffer, progress.
void InflateStream::Deliver(size_t from, size_t to) {
  const size_t n = to - from;
  if (n > 0) {
    const uint8_t* p = window_ + from;
    adler_ = Adler32(adler_, p, n);
    if (output_) {
      std::memcpy(output_, p, n);
      output_ += n;
    }
    wanted_ -= n;
    const uint64_t before = totalOut_;
    totalOut_ += n;
    if (progress_) {
      for (uint64_t k = before / 1024; k < totalOut_ / 1024; ++k) progress_(progressUser_, 1024);
    }
  }
  if (windowPos_ == windowSize_) {
    windowPos_ = 0;
    windowFull_ = true;
  }
}

int InflateStream::Open(BufferedFile* source) {
  Close();
  if (!source) return -5;
  const int cmf = source->ReadByte();
  const int flg = cmf < 0 ? -1 : source->ReadByte();
  if (flg < 0) return -5;
  // Windows over 32 KB (CINFO above 7) are not allowed by RFC 1950.
  if ((cmf * 256 + flg) % 31 != 0 || (cmf & 15) != 8 || (cmf >> 4) > 7) return -3;
  if (flg & 0x20) return 2;
  windowSize_ = 1u << ((cmf >> 4) + 8);
  window_ = new (std::nothrow) uint8_t[windowSize_];
  tables_ = new (std::nothrow) Tables;
  if (!window_ || !tables_) {
    Close();
    return -4;
  }
  source_ = source;
  state_ = kNextBlock;
  return 0;
}

void InflateStream::Close() {
  delete[] window_;
  delete tables_;
  source_ = nullptr;
  output_ = nullptr;
  wanted_ = 0;
  totalOut_ = 0;
  adler_ = 1;
  trailerAdler_ = 0;
  windowSize_ = 0;
  window_ = nullptr;
  windowPos_ = 0;
  windowFull_ = false;
  tables_ = nullptr;
  fixedLoaded_ = false;
  state_ = kClosed;
  fault_ = Fault::kNone;
  lastBlock_ = false;
  remaining_ = 0;
  copyDistance_ = 0;
  bitBuffer_ = 0;
  bitCount_ = 0;
  in_ = inStart_ = inEnd_ = nullptr;
}

void InflateStream::SetProgress(ProgressFn fn, void* user) {
  progress_ = fn;
  progressUser_ = user;
}

int InflateStream::Run(void* output, size_t wanted) {
  if (state_ == kClosed || state_ == kFailed) return -2;
  if (state_ == kFinished) return 1;
  if (wanted == 0) return 0;
  output_ = static_cast<uint8_t*>(output);
  wanted_ = wanted;
  size_t available = 0;
  in_ = inStart_ = source_->Peek(&available);
  inEnd_ = in_ + available;

  int result = 0;
  for (;;) {
    // One step fills at most the window up to its end.
    const size_t start = windowPos_;
    const size_t room = windowSize_ - start;
    const size_t end = start + (wanted_ < room ? wanted_ : room);
    Step step = Step::kFull;
    while (step != Step::kError && step != Step::kLastBlockDone && windowPos_ < end) {
      switch (state_) {
        case kNextBlock:
          if (lastBlock_) {
            step = Step::kLastBlockDone;
          } else if (!Header()) {
            step = Step::kError;
          }
          break;
        case kStoredBlock:
          step = Stored(end);
          break;
        default:
          step = Codes(end);
          break;
      }
    }
    Deliver(start, windowPos_);
    if (step == Step::kError) {
      state_ = kFailed;
      result = -3;
      break;
    }
    if (step == Step::kLastBlockDone) {
      if (Trailer()) {
        state_ = kFinished;
        result = 1;
      } else {
        state_ = kFailed;
        result = -3;
      }
      break;
    }
    if (wanted_ == 0) {
      result = 0;
      break;
    }
  }
  source_->Consume(size_t(in_ - inStart_));
  in_ = inStart_ = inEnd_ = nullptr;
  output_ = nullptr;
  return result;
}
