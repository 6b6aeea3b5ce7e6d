// ArchiveCipher: the stream cipher of encrypted kvz2 archives. It is RC4
// with one twist that archives depend on: after the usual key schedule the
// generator starts with i = the schedule's final j and j = 0 (RC4 proper
// starts both at 0). The two indices live in the state's last two bytes:
// S[256] holds j and S[257] holds i between calls.
#pragma once

#include <cstddef>
#include <cstdint>

class ArchiveCipher {
 public:
  ArchiveCipher() = default;
  // Key bytes repeat to fill a 256-byte block; the length counts modulo
  // 256 (a multiple of 256 uses the first 256 bytes). An empty key counts
  // as zero bytes.
  void SetKey(const void* key, size_t length);
  // XORs the keystream into data in place: encrypts and decrypts alike.
  void Crypt(void* data, size_t length);

 private:
  uint8_t s_[258] = {};
};
