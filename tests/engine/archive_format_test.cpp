#include "setup/engine/archive_format.h"

#include <gtest/gtest.h>

// The stamp and header words are little-endian whatever the host.
TEST(ArchiveFormat, WordsAreLittleEndian) {
  uint8_t b[8] = {};
  kvz::PutU32(b, 0x5B1E7C93);
  EXPECT_EQ(b[0], 0x93);
  EXPECT_EQ(b[3], 0x5B);
  EXPECT_EQ(kvz::GetU32(b), 0x5B1E7C93u);
  kvz::PutU64(b, 0x0123456789ABCDEFull);
  EXPECT_EQ(kvz::GetU64(b), 0x0123456789ABCDEFull);
  EXPECT_EQ(b[7], 0x01);
}
