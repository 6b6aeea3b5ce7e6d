// Reads the fixed version information (VS_FIXEDFILEINFO) of a PE file from
// its bytes, without Windows: the package builder runs on Linux and stores
// the four version words in each entry header so that setup can compare
// versions before replacing a file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvzpack {

struct PeVersion {
  uint32_t fileVersionMS = 0;
  uint32_t fileVersionLS = 0;
  uint32_t productVersionMS = 0;
  uint32_t productVersionLS = 0;
};

// True when data is a PE image (PE32 or PE32+) with an RT_VERSION resource
// carrying a valid VS_FIXEDFILEINFO; the words then land in *version.
// Anything else, including a damaged or hostile image, gives false and
// leaves *version untouched. Every read is bounds-checked.
bool ReadPeVersion(const uint8_t* data, size_t size, PeVersion* version);

}  // namespace kvzpack
