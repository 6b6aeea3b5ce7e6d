// Finds the archive in a file given to list, test or extract: behind a
// stamp in a setup executable, or at offset 0 of a .kvz file. Also
// answers, before the reader is involved, what it cannot tell apart:
// password needed, wrong password, damaged header, truncated file.
#pragma once

#include <cstdint>
#include <string>

namespace kvzpack {

struct ArchiveLocation {
  uint32_t offset = 0;
  uint64_t end = 0;  // the stamp's end, or the file size of a .kvz
  bool stamped = false;
  uint32_t flags = 0;
  bool kvz2 = false;
  bool encrypted = false;  // kvz2 with the encrypted flag
};

// kExitOk with *location filled, or an exit code with a one-line *error.
int LocateArchive(const std::string& path, const std::string& password,
                  ArchiveLocation* location, std::string* error);

}  // namespace kvzpack
