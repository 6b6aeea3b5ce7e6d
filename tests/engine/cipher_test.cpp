// ArchiveCipher: encrypted archives depend on its exact keystream, so it is
// checked against values worked out apart from the production code.
#include "setup/engine/archive_cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Written straight from the archive format's description, independently of
// archive_cipher.cpp. standardStart = true gives RC4 proper (i = j = 0).
std::vector<uint8_t> Keystream(const std::string& key, size_t n, bool standardStart = false) {
  int s[256];
  for (int i = 0; i < 256; ++i) s[i] = i;
  const size_t used = key.size() % 256;
  int j = 0;
  for (int i = 0; i < 256; ++i) {
    j = (j + static_cast<unsigned char>(key[size_t(i) % used]) + s[i]) % 256;
    std::swap(s[i], s[j]);
  }
  int jj = 0, ii = standardStart ? 0 : j;
  std::vector<uint8_t> out;
  for (size_t k = 0; k < n; ++k) {
    ii = (ii + 1) % 256;
    jj = (jj + s[ii]) % 256;
    std::swap(s[ii], s[jj]);
    out.push_back(uint8_t(s[(s[ii] + s[jj]) % 256]));
  }
  return out;
}

std::vector<uint8_t> CipherOfZeros(const std::string& key, size_t n) {
  ArchiveCipher c;
  c.SetKey(key.data(), key.size());
  std::vector<uint8_t> out(n, 0);
  c.Crypt(out.data(), n);
  return out;
}

}  // namespace

// The reference's key schedule is RC4's: it reproduces RC4's published
// vector for key "Key", so only the generator's start differs.
TEST(ArchiveCipher, ReferenceScheduleIsRc4s) {
  const std::vector<uint8_t> rc4 = {0xEB, 0x9F, 0x77, 0x81, 0xB7, 0x34, 0xCA, 0x72, 0xA7, 0x19};
  EXPECT_EQ(Keystream("Key", 10, true), rc4);
  EXPECT_NE(CipherOfZeros("Key", 10), rc4) << "the archive cipher must not start like RC4";
}

// Pinned values (also computed by a separate script from the description):
// i starts at the schedule's final j (54, 4, 195 here) and j at 0.
TEST(ArchiveCipher, KnownKeystreams) {
  struct Case {
    const char* key;
    std::vector<uint8_t> stream;
  };
  const Case cases[] = {
      {"Key", {0x61, 0xAD, 0xEF, 0x47, 0x07, 0x2D, 0x29, 0x6B, 0x41, 0x1D, 0x55, 0x21, 0x54, 0x0F, 0xF3, 0x44}},
      {"secret", {0xCE, 0xF7, 0x0C, 0xFA, 0x77, 0x05, 0xCF, 0x00, 0x09, 0x71, 0xDE, 0xB1, 0x94, 0x35, 0x99, 0x3D}},
      {"Kelvo Remover 2004",
       {0x3B, 0xE0, 0x21, 0x3F, 0xCC, 0xB1, 0x8F, 0xA4, 0xFD, 0xCC, 0x4F, 0xCA, 0xE2, 0xE8, 0xD9, 0x04}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CipherOfZeros(c.key, 16), c.stream) << c.key;
    EXPECT_EQ(Keystream(c.key, 16), c.stream) << c.key;
  }
}

TEST(ArchiveCipher, MatchesTheReferenceOverLongStreamsAndManyKeys) {
  for (size_t len = 1; len < 300; len += 7) {
    std::string key;
    for (size_t i = 0; i < len; ++i) key.push_back(char(i * 37 + len));
    EXPECT_EQ(CipherOfZeros(key, 5000), Keystream(key, 5000)) << "key length " << len;
  }
}

// The indices are kept between calls: crypting in pieces equals crypting
// at once, which the buffered file relies on at every refill.
TEST(ArchiveCipher, PiecesContinueTheStream) {
  ArchiveCipher whole, pieces;
  whole.SetKey("password", 8);
  pieces.SetKey("password", 8);
  std::vector<uint8_t> a(4099), b(4099);
  for (size_t i = 0; i < a.size(); ++i) a[i] = b[i] = uint8_t(i * 7);
  whole.Crypt(a.data(), a.size());
  size_t done = 0, step = 1;
  while (done < b.size()) {
    const size_t n = std::min(step, b.size() - done);
    pieces.Crypt(b.data() + done, n);
    done += n;
    step = step * 3 + 1;
  }
  EXPECT_EQ(a, b);
}

TEST(ArchiveCipher, CryptTwiceRestores) {
  const char text[] = "[Install]\r\nAppName=Kelvo Remover 2004 Lite\r\n";
  std::vector<uint8_t> data(text, text + sizeof text);
  ArchiveCipher enc, dec;
  enc.SetKey("pw", 2);
  dec.SetKey("pw", 2);
  enc.Crypt(data.data(), data.size());
  EXPECT_NE(std::memcmp(data.data(), text, sizeof text), 0);
  dec.Crypt(data.data(), data.size());
  EXPECT_EQ(std::memcmp(data.data(), text, sizeof text), 0);
}

// The key length counts modulo 256: a 257-byte key acts as its first byte.
TEST(ArchiveCipher, KeyLengthCountsModulo256) {
  std::string longKey(257, 'z');
  longKey[0] = 'A';
  EXPECT_EQ(CipherOfZeros(longKey, 64), CipherOfZeros("A", 64));
  // 256 bytes would be length 0: the whole 256 bytes are used instead.
  std::string key256(256, 'q');
  key256[255] = 'r';
  EXPECT_NE(CipherOfZeros(key256, 64), CipherOfZeros(std::string(256, 'q'), 64));
}
