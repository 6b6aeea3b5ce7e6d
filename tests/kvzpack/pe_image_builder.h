// Builds small PE images with a version resource, so the version reader is
// tested against known bytes without needing a Windows build.
#pragma once

#include <cstdint>
#include <vector>

namespace kvzpack_test {

struct PeImageSpec {
  bool pe32plus = false;
  bool withVersion = true;
  // An RT_ICON type listed before RT_VERSION, whose data is not version info.
  bool iconTypeFirst = true;
  uint32_t fileVersionMS = 0x00020043;  // 2.67
  uint32_t fileVersionLS = 0x0584000B;  // 1412.11
  uint32_t productVersionMS = 0x00030000;
  uint32_t productVersionLS = 0x00000007;
};

std::vector<uint8_t> BuildPeImage(const PeImageSpec& layout);

// Offsets inside the image BuildPeImage makes, for tests that damage it.
constexpr uint32_t kPeHeaderOffset = 0x80;
constexpr uint32_t kResourceFileOffset = 0x200;
constexpr uint32_t kResourceRva = 0x1000;

}  // namespace kvzpack_test
