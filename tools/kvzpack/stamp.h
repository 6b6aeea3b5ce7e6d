// Attaching an archive to a copy of setup and finding it again. The stamp
// is four words of the MS-DOS header (archive_format.h, section 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvzpack {

struct StampWords {
  uint32_t offset = 0;  // A
  uint32_t end = 0;     // B
};

// What the first 0x80 bytes of a file say about an attached archive.
enum class StampState {
  None,       // no stamp words (complements do not match, or not an MZ file)
  Valid,      // A < B <= file size
  Truncated,  // the words match but the file is shorter than B
  Invalid,    // the words match but A >= B
};

StampState ReadStamp(const uint8_t* head, size_t headSize, uint64_t fileSize, StampWords* words);

// stub + archive with the stamp written into the copy's MS-DOS header.
// Refuses a stub that is no MZ file, is shorter than the header words, or
// already carries an archive: re-stamping would leave the old archive as
// dead weight inside the new stub.
bool StampExecutable(const std::vector<uint8_t>& stub, const std::vector<uint8_t>& archive,
                     std::vector<uint8_t>* out, std::string* error);

}  // namespace kvzpack
