#include "engine/support/kvz_writer.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "setup/engine/archive_cipher.h"
#include "setup/engine/archive_format.h"

namespace kvtest {

void BitWriter::Bits(uint32_t value, int count) {
  for (int i = 0; i < count; ++i) {
    acc_ |= ((value >> i) & 1u) << count_;
    if (++count_ == 8) {
      out_.push_back(uint8_t(acc_));
      acc_ = 0;
      count_ = 0;
    }
  }
}

void BitWriter::Code(uint32_t code, int length) {
  for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
}

void BitWriter::AlignToByte() {
  if (count_ > 0) Bits(0, 8 - count_);
}

void BitWriter::Byte(uint8_t b) {
  AlignToByte();
  out_.push_back(b);
}

const Bytes& BitWriter::Done() {
  AlignToByte();
  return out_;
}

uint32_t Adler32(const uint8_t* data, size_t n, uint32_t adler) {
  uint32_t a = adler & 0xFFFF, b = adler >> 16;
  for (size_t i = 0; i < n; ++i) {
    a = (a + data[i]) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

Bytes DeflateStored(const Bytes& data, size_t maxBlock) {
  Bytes out;
  size_t pos = 0;
  do {
    const size_t n = std::min(maxBlock, data.size() - pos);
    const bool last = pos + n == data.size();
    out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00, then byte-aligned
    out.push_back(uint8_t(n));
    out.push_back(uint8_t(n >> 8));
    out.push_back(uint8_t(~n));
    out.push_back(uint8_t(~n >> 8));
    out.insert(out.end(), data.begin() + long(pos), data.begin() + long(pos + n));
    pos += n;
  } while (pos < data.size());
  return out;
}

void FixedSymbol(BitWriter& w, unsigned symbol) {
  if (symbol < 144) {
    w.Code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    w.Code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    w.Code(symbol - 256, 7);
  } else {
    w.Code(0xC0 + symbol - 280, 8);
  }
}

namespace {

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

}  // namespace

void FixedMatch(BitWriter& w, unsigned length, unsigned distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  FixedSymbol(w, 257 + unsigned(l));
  w.Bits(length - kLengthBase[l], kLengthExtra[l]);
  int d = 29;
  while (kDistBase[d] > distance) --d;
  w.Code(unsigned(d), 5);
  w.Bits(distance - kDistBase[d], kDistExtra[d]);
}

Bytes DeflateFixed(const Bytes& data, size_t maxDistance, size_t blockSize) {
  BitWriter w;
  constexpr int kHashBits = 15;
  std::vector<int64_t> head(size_t(1) << kHashBits, -1);
  std::vector<int64_t> prev(data.size(), -1);
  auto hash = [&](size_t i) {
    return ((uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2]) * 2654435761u) >> (32 - kHashBits);
  };
  size_t pos = 0;
  do {
    const size_t end = std::min(data.size(), pos + blockSize);
    w.Bits(end == data.size() ? 1 : 0, 1);
    w.Bits(1, 2);
    while (pos < end) {
      unsigned bestLen = 0, bestDist = 0;
      if (pos + 3 <= end) {
        const uint32_t h = hash(pos);
        int64_t cand = head[h];
        for (int chain = 0; cand >= 0 && chain < 32; ++chain, cand = prev[size_t(cand)]) {
          const size_t dist = pos - size_t(cand);
          if (dist > maxDistance) break;
          unsigned len = 0;
          while (len < 258 && pos + len < end && data[size_t(cand) + len] == data[pos + len]) ++len;
          if (len > bestLen) {
            bestLen = len;
            bestDist = unsigned(dist);
          }
        }
      }
      const size_t step = bestLen >= 3 ? bestLen : 1;
      if (bestLen >= 3) {
        FixedMatch(w, bestLen, bestDist);
      } else {
        FixedSymbol(w, data[pos]);
      }
      for (size_t k = 0; k < step; ++k, ++pos) {
        if (pos + 3 <= data.size()) {
          const uint32_t h = hash(pos);
          prev[pos] = head[h];
          head[h] = int64_t(pos);
        }
      }
    }
    FixedSymbol(w, 256);
  } while (pos < data.size());
  return w.Done();
}

Bytes ZlibWrap(const Bytes& deflate, uint32_t adler, uint8_t cmf) {
  Bytes out;
  out.push_back(cmf);
  uint8_t flg = 0;
  while ((cmf * 256 + flg) % 31 != 0) ++flg;
  out.push_back(flg);
  out.insert(out.end(), deflate.begin(), deflate.end());
  for (int i = 3; i >= 0; --i) out.push_back(uint8_t(adler >> (8 * i)));
  return out;
}

Bytes Zlib(const Bytes& data, Method method) {
  const Bytes raw = method == Method::kStored ? DeflateStored(data) : DeflateFixed(data);
  return ZlibWrap(raw, Adler32(data.data(), data.size()));
}

Bytes MixedData(size_t n, uint32_t seed) {
  static const char* const kWords[] = {"setup ", "archive ", "entry ", "Kelvo ", "remover ", "window ",
                                       "\r\n",    "[Files]", "File=",  "0001\\F7\\", "lang.lng ", "the "};
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(n);
  while (out.size() < n) {
    switch (rng() % 4) {
      case 0:
      case 1:
        for (int i = 0; i < 20; ++i) {
          const char* w = kWords[rng() % 12];
          out.insert(out.end(), w, w + std::strlen(w));
        }
        break;
      case 2:
        out.insert(out.end(), 1 + rng() % 300, uint8_t(rng()));
        break;
      default:
        for (int i = 0, k = int(rng() % 500); i < k; ++i) out.push_back(uint8_t(rng()));
        break;
    }
  }
  out.resize(n);
  return out;
}

Bytes EntryStream(const std::vector<Entry>& entries) {
  Bytes out;
  for (const Entry& e : entries) {
    uint8_t h[kvz::kEntryHeaderSize];
    std::memcpy(h, kvz::kMagicEntry, 4);
    kvz::PutU32(h + 4, e.reserved);
    kvz::PutU32(h + 8, uint32_t(e.body.size()));
    kvz::PutU64(h + 12, e.lastWrite);
    for (int i = 0; i < 4; ++i) kvz::PutU32(h + 20 + 4 * i, e.versions[i]);
    kvz::PutU16(h + 36, e.attributes);
    kvz::PutU16(h + 38, uint16_t(e.name.size()));
    out.insert(out.end(), h, h + sizeof h);
    out.insert(out.end(), e.name.begin(), e.name.end());
    out.insert(out.end(), e.body.begin(), e.body.end());
  }
  return out;
}

Bytes BuildArchiveAround(const Bytes& zlibStream, const ArchiveOptions& options) {
  Bytes out(kvz::kArchiveHeaderSize);
  std::memcpy(out.data(), options.version == 1 ? kvz::kMagicKvz1 : kvz::kMagicKvz2, 4);
  uint32_t flags = options.flags;
  if (options.version == 2 && !options.password.empty()) flags |= kvz::kFlagEncrypted;
  kvz::PutU32(out.data() + 4, flags);
  if (options.version == 2) {
    uint8_t check[8];
    const uint32_t w0 = 0x12345678;
    kvz::PutU32(check, w0);
    kvz::PutU32(check + 4, w0 ^ kvz::kCheckConstant ^ (options.badCheck ? 1u : 0u));
    out.insert(out.end(), check, check + 8);
  }
  const size_t encryptFrom = out.size() - (options.version == 2 ? 8 : 0);
  out.insert(out.end(), zlibStream.begin(), zlibStream.end());
  if (options.version == 2 && !options.password.empty()) {
    ArchiveCipher cipher;
    cipher.SetKey(options.password.data(), options.password.size());
    cipher.Crypt(out.data() + encryptFrom, out.size() - encryptFrom);
  }
  return out;
}

Bytes BuildArchive(const std::vector<Entry>& entries, const ArchiveOptions& options) {
  const Bytes stream = EntryStream(entries);
  const Bytes z = options.compress ? options.compress(stream) : Zlib(stream, Method::kFixed);
  return BuildArchiveAround(z, options);
}

Bytes StampedExecutable(const Bytes& archive, uint32_t* offset) {
  Bytes out(0x200 + archive.size(), 0);
  if (!archive.empty()) std::memcpy(out.data() + 0x200, archive.data(), archive.size());
  out[0] = 'M';
  out[1] = 'Z';
  const uint32_t a = 0x200;
  const uint32_t b = a + uint32_t(archive.size());
  kvz::PutU32(out.data() + kvz::kStampOffsetA, a);
  kvz::PutU32(out.data() + kvz::kStampOffsetNotA, ~a);
  kvz::PutU32(out.data() + kvz::kStampOffsetB, b);
  kvz::PutU32(out.data() + kvz::kStampOffsetNotB, ~b);
  if (offset) *offset = a;
  return out;
}

TempDir::TempDir() {
  namespace fs = std::filesystem;
  static unsigned counter = 0;
  std::random_device rd;
  for (;;) {
    const fs::path p = fs::temp_directory_path() /
                       ("kvtest-" + std::to_string(rd()) + "-" + std::to_string(++counter));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      root_ = p.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  namespace fs = std::filesystem;
  std::error_code ec;
  // Read-only files left by tests must not stop the clean-up.
  for (auto& e : fs::recursive_directory_iterator(root_, ec)) {
    fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(root_, ec);
}

std::string TempDir::Path(const std::string& name) const {
  return (std::filesystem::path(root_) / name).string();
}

std::string TempDir::Write(const std::string& name, const Bytes& data) const {
  const std::string p = Path(name);
  std::ofstream f(p, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  return p;
}

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace kvtest
