// Writing a finished file so that a failure (disk full, no permission)
// leaves whatever was at the path before: write a temporary file beside
// it, then rename it into place.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvzpack {

struct OutputFileOptions {
  mode_t mode = 0666;       // before the umask
  bool setTime = false;
  uint64_t lastWrite = 0;   // FILETIME, UTC
};

bool WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size,
                         const OutputFileOptions& options, std::string* error);

// Whole file into memory; false with *error.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* data, std::string* error);

}  // namespace kvzpack
