// The password side of kvz2 archives, on raw bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvzpack {

// Encrypts in place everything after the 8-byte archive header (check block
// and zlib stream), as one keystream.
void EncryptArchiveBody(const std::string& password, uint8_t* data, size_t size);

// True when the 8-byte check block passes, decrypted with password when it
// is not empty. Tells a wrong password from a damaged stream.
bool CheckBlockPasses(const uint8_t* block, const std::string& password);

}  // namespace kvzpack
