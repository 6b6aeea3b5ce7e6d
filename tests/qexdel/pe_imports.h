// A minimal reader of a PE program's headers and import table, enough for
// the tests to check what the self-delete helper imports.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PeImage {
  uint16_t machine = 0;             // 0x14C i386, 0x8664 x86_64
  uint16_t magic = 0;               // 0x10B PE32, 0x20B PE32+
  uint16_t subsystem = 0;           // 2 Windows GUI
  uint16_t subsystemMajor = 0;
  uint16_t subsystemMinor = 0;
  uint32_t relocationDirSize = 0;
  // "DLL!Function"; ordinal imports as "DLL!#n".
  std::vector<std::string> imports;
};

// False (with the reason in error) when the bytes are not a well-formed PE
// or its import table points outside the file.
bool ReadPeImage(const std::vector<unsigned char>& file, PeImage& image,
                 std::string& error);
