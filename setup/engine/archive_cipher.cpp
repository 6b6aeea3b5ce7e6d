#include "setup/engine/archive_cipher.h"

#include <utility>

void ArchiveCipher::SetKey(const void* key, size_t length) {
  const uint8_t* k = static_cast<const uint8_t*>(key);
  for (int i = 0; i < 256; ++i) s_[i] = uint8_t(i);
  size_t used = length % 256;
  if (used == 0 && length > 0) used = 256;
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    const uint8_t kb = used ? k[size_t(i) % used] : 0;
    j = uint8_t(j + kb + s_[i]);
    std::swap(s_[i], s_[j]);
  }
  s_[256] = 0;
  s_[257] = j;
}

void ArchiveCipher::Crypt(void* data, size_t length) {
  uint8_t* p = static_cast<uint8_t*>(data);
  uint8_t j = s_[256];
  uint8_t i = s_[257];
  for (size_t n = 0; n < length; ++n) {
    i = uint8_t(i + 1);
    j = uint8_t(j + s_[i]);
    const uint8_t t = s_[i];
    s_[i] = s_[j];
    s_[j] = t;
    p[n] ^= s_[uint8_t(s_[i] + s_[j])];
  }
  s_[256] = j;
  s_[257] = i;
}
