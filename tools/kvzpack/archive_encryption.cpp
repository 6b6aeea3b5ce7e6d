#include "tools/kvzpack/archive_encryption.h"

#include <cstring>

#include "setup/engine/archive_cipher.h"
#include "setup/engine/archive_format.h"

namespace kvzpack {

void EncryptArchiveBody(const std::string& password, uint8_t* data, size_t size) {
  ArchiveCipher cipher;
  cipher.SetKey(password.data(), password.size());
  cipher.Crypt(data, size);
}

bool CheckBlockPasses(const uint8_t* block, const std::string& password) {
  uint8_t words[kvz::kCheckBlockSize];
  std::memcpy(words, block, sizeof words);
  if (!password.empty()) EncryptArchiveBody(password, words, sizeof words);
  return (kvz::GetU32(words) ^ kvz::GetU32(words + 4)) == kvz::kCheckConstant;
}

}  // namespace kvzpack
