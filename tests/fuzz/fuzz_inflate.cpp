// Fuzz target: a raw zlib stream (after a 4-byte seed) through
// InflateStream twice: once in large requests, once in requests of random
// sizes (some with no output). Both runs must agree byte for byte and on
// the result, whatever the stream: resumption must not change the output.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "setup/engine/buffered_file.h"
#include "setup/engine/inflate_stream.h"

namespace {

constexpr size_t kMaxOutput = 8u << 20;

struct Outcome {
  int result = 0;
  std::vector<uint8_t> out;  // bytes that were asked for with an output
  std::vector<bool> seen;
};

uint32_t Next(uint32_t& s) {
  s ^= s << 13;
  s ^= s >> 17;
  s ^= s << 5;
  return s;
}

Outcome Decode(const uint8_t* data, size_t size, uint32_t seed, bool random) {
  Outcome o;
  BufferedFile file;
  file.OpenMemory(data, size, random ? 1 + Next(seed) % 600 : 4096);
  InflateStream s;
  o.result = s.Open(&file);
  if (o.result != 0) return o;
  uint32_t calls = 0;
  s.SetProgress([](void* user, uint32_t) { ++*static_cast<uint32_t*>(user); }, &calls);
  std::vector<uint8_t> piece;
  while (s.TotalOut() < kMaxOutput) {
    const size_t n = random ? 1 + Next(seed) % 1500 : 65536;
    const bool discard = random && Next(seed) % 4 == 0;
    piece.assign(n, 0xAA);
    const uint64_t before = s.TotalOut();
    o.result = s.Run(discard ? nullptr : piece.data(), n);
    const size_t got = size_t(s.TotalOut() - before);
    if (got > n) __builtin_trap();
    if (o.result == 0 && got != n) __builtin_trap();
    o.out.insert(o.out.end(), piece.begin(), piece.begin() + long(got));
    o.seen.insert(o.seen.end(), got, !discard);
    if (o.result != 0) break;
  }
  if (calls != s.TotalOut() / 1024) __builtin_trap();
  if (o.result == -3 && s.Run(piece.data(), 1) != -2) __builtin_trap();
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t seed;
  std::memcpy(&seed, data, 4);
  seed |= 1;
  const Outcome whole = Decode(data + 4, size - 4, seed, false);
  const Outcome pieces = Decode(data + 4, size - 4, seed, true);
  const size_t n = whole.out.size() < pieces.out.size() ? whole.out.size() : pieces.out.size();
  for (size_t i = 0; i < n; ++i) {
    if (pieces.seen[i] && pieces.out[i] != whole.out[i]) __builtin_trap();
  }
  // When neither run was cut off by the output limit, both end alike.
  if (whole.out.size() < kMaxOutput && pieces.out.size() < kMaxOutput) {
    if (whole.result != pieces.result || whole.out.size() != pieces.out.size()) __builtin_trap();
  }
  return 0;
}
