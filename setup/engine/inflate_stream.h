// InflateStream: the zlib (RFC 1950) / DEFLATE (RFC 1951) decoder under the
// archive reader. It decodes on request: Run() produces exactly the bytes
// asked for and stops, even inside a stored block or a back-reference, and
// the next request goes on from there. The output pointer may be null (the
// bytes are only counted, checksummed and kept in the window).
//
// Memory is fixed when the stream is opened: the window (2^(CINFO+8) bytes,
// 32 KB for the usual CMF 0x78) and one block of decoding tables (~8 KB).
//
// Decoding tables. Each Huffman code is kept as a tree of 2n-1 nodes for n
// symbols (575 literal/length, 63 distance, 37 code-length nodes), each node
// two 16-bit cells: the children for bit 0 and bit 1, or -1 and the symbol
// for a leaf; node 0 is the root and inner nodes are numbered in order of
// creation. Walking it one bit per step is too slow for setup's archives,
// so each tree also gets a fixed-size lookup table indexed by the next
// kLiteralTableBits (distance: kDistanceTableBits) input bits, least
// significant first as DEFLATE sends them. An entry holds either the whole
// decoded symbol (literal byte, length or distance base with its extra-bit
// count, end of block) and how many bits its code takes, or, for codes
// longer than the table, the tree node reached after the table's bits: the
// decoder then walks the tree from there one bit at a time. Both are built
// together from the code lengths of each block.
//
// Input comes from the BufferedFile in bulk (Peek/Consume) into a 64-bit
// bit buffer. Output is decoded into the window and copied from there to
// the caller's buffer, a window's worth at most per step, with the Adler-32
// and the progress callback updated on the way.
//
// Result codes
//   Open:  0 ready; -5 the two header bytes cannot be read; -3 bad header
//          (check bits, method not 8, window over 32 KB); 2 preset
//          dictionary asked for; -4 out of memory.
//   Run:   0 the request is satisfied; 1 the stream has ended (trailer read
//          and checked); -2 called while not open or after a data error;
//          -3 data error (Fault() names the cause).
#pragma once

#include <cstddef>
#include <cstdint>

class BufferedFile;

class InflateStream {
 public:
  // Called with 1024 each time the output count since Open reaches another
  // multiple of 1024.
  using ProgressFn = void (*)(void* user, uint32_t bytes);

  enum State : int {
    kClosed = 0,
    kNextBlock = 1,
    kStoredBlock = 2,
    kHuffmanBlock = 3,
    kFinished = 255,
    kFailed = -1,
  };

  // Why the last Run gave -3.
  enum class Fault {
    kNone,
    kTruncated,              // input ended inside the stream
    kBlockType,              // BTYPE 3
    kStoredLength,           // LEN and NLEN do not match
    kCodeLengthCode,         // code-length code over-subscribed or incomplete
    kOversubscribed,         // literal/length or distance code
    kIncomplete,             // literal/length or distance code
    kRepeatWithoutPrevious,  // code 16 as the first length
    kRepeatPastEnd,          // a repeat runs past HLIT + HDIST lengths
    kMissingEndOfBlock,      // symbol 256 has no code
    kInvalidCode,            // bits that no code of an incomplete set has
    kLengthSymbol,           // literal/length symbol 286 or 287
    kDistanceSymbol,         // distance symbol 30 or 31, or no distance code
    kDistanceTooFar,         // farther back than the window
    kDistanceBeforeStart,    // before the first byte of the stream
    kChecksum,               // Adler-32 trailer does not match
  };

  static constexpr int kLiteralTableBits = 10;
  static constexpr int kDistanceTableBits = 8;
  static constexpr int kCodeLengthTableBits = 7;

  InflateStream();
  ~InflateStream();
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  // Reads and checks CMF/FLG from source (which must outlive the stream)
  // and allocates the window and tables.
  int Open(BufferedFile* source);
  void Close();

  void SetProgress(ProgressFn fn, void* user);
  // Decodes the next `wanted` bytes into output (null: discard them).
  int Run(void* output, size_t wanted);

  int State() const { return state_; }
  Fault LastFault() const { return fault_; }
  uint64_t TotalOut() const { return totalOut_; }
  uint32_t WindowSize() const { return windowSize_; }

 private:
  struct Node {
    int16_t cell[2];
  };
  struct Tables;
  enum class Step { kFull, kBlockDone, kLastBlockDone, kError };

  bool NextInput();
  void Refill();
  bool NeedBits(unsigned n);
  uint32_t TakeBits(unsigned n);
  bool Fail(Fault fault);

  Step Stored(size_t segmentEnd);
  bool WalkTree(const Node* tree, uint32_t* entry, int kind);
  Step Codes(size_t segmentEnd);
  bool Fixed();
  bool Dynamic();
  bool Header();
  bool Trailer();
  void Deliver(size_t from, size_t to);

  // Source and request.
  BufferedFile* source_ = nullptr;
  uint8_t* output_ = nullptr;
  size_t wanted_ = 0;
  uint64_t totalOut_ = 0;
  uint32_t adler_ = 1;
  uint32_t trailerAdler_ = 0;
  ProgressFn progress_ = nullptr;
  void* progressUser_ = nullptr;

  // Window: a ring of windowSize_ bytes; windowFull_ once it has wrapped.
  uint32_t windowSize_ = 0;
  uint8_t* window_ = nullptr;
  size_t windowPos_ = 0;
  bool windowFull_ = false;

  Tables* tables_ = nullptr;
  bool fixedLoaded_ = false;

  int state_ = kClosed;
  Fault fault_ = Fault::kNone;
  bool lastBlock_ = false;
  // Stored block: bytes left in it. Huffman block: bytes left of the
  // back-reference that the last request stopped in, and its distance.
  uint32_t remaining_ = 0;
  uint32_t copyDistance_ = 0;

  // Bit buffer: bitCount_ valid bits, least significant first. Bits above
  // them may hold a copy of the next unconsumed input byte.
  uint64_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;
  // The source's buffer during a Run.
  const uint8_t* in_ = nullptr;
  const uint8_t* inStart_ = nullptr;
  const uint8_t* inEnd_ = nullptr;
};
