#include "tools/kvzpack/pe_version.h"

#include <gtest/gtest.h>

#include "kvzpack/pe_image_builder.h"
#include "setup/engine/archive_format.h"

using kvzpack::PeVersion;
using kvzpack::ReadPeVersion;
using kvzpack_test::BuildPeImage;
using kvzpack_test::PeImageSpec;

namespace {

bool Read(const std::vector<uint8_t>& image, PeVersion* version) {
  return ReadPeVersion(image.data(), image.size(), version);
}

}  // namespace

// Both image kinds, with another resource type listed before RT_VERSION
// (a reader that takes the first type would read the icon's bogus data).
TEST(PeVersion, ReadsFixedInfoFromPe32AndPe32Plus) {
  for (bool plus : {false, true}) {
    for (bool iconFirst : {false, true}) {
      PeImageSpec layout;
      layout.pe32plus = plus;
      layout.iconTypeFirst = iconFirst;
      PeVersion v;
      ASSERT_TRUE(Read(BuildPeImage(layout), &v)) << plus << iconFirst;
      EXPECT_EQ(v.fileVersionMS, layout.fileVersionMS);
      EXPECT_EQ(v.fileVersionLS, layout.fileVersionLS);
      EXPECT_EQ(v.productVersionMS, layout.productVersionMS);
      EXPECT_EQ(v.productVersionLS, layout.productVersionLS);
    }
  }
}

TEST(PeVersion, NoVersionGivesFalseAndKeepsZeros) {
  PeImageSpec layout;
  layout.withVersion = false;
  PeVersion v;
  EXPECT_FALSE(Read(BuildPeImage(layout), &v));
  layout.iconTypeFirst = false;  // no resource table at all
  EXPECT_FALSE(Read(BuildPeImage(layout), &v));
  EXPECT_EQ(v.fileVersionMS, 0u);
  EXPECT_EQ(v.productVersionLS, 0u);

  const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_FALSE(Read(text, &v));
  EXPECT_FALSE(ReadPeVersion(nullptr, 0, &v));
}

// Every prefix of a good image must be rejected without reading past it
// (the sanitizer build turns an overread into a failure).
TEST(PeVersion, EveryTruncationIsRejected) {
  const std::vector<uint8_t> image = BuildPeImage(PeImageSpec());
  for (size_t size = 0; size < kvzpack_test::kResourceFileOffset + 0x90 + 92; ++size) {
    std::vector<uint8_t> cut(image.begin(), image.begin() + size);
    PeVersion v;
    EXPECT_FALSE(Read(cut, &v)) << size;
  }
}

// Hostile words: offsets and counts that point outside the image or wrap.
TEST(PeVersion, DamagedHeadersAreRejected) {
  using kvzpack_test::kPeHeaderOffset;
  using kvzpack_test::kResourceFileOffset;
  const uint32_t optional = kPeHeaderOffset + 24;
  const uint32_t resourceDirectory = optional + 96 + 16;
  struct Case {
    const char* what;
    uint32_t at;
    uint32_t value;
    bool u16;
  } cases[] = {
      {"e_lfanew far away", 0x3C, 0xFFFFFFF0u, false},
      {"PE signature", kPeHeaderOffset, 0x00004551u, false},
      {"optional magic", optional, 0x0107, true},
      {"too few data directories", optional + 92, 2, false},
      {"optional header too small", kPeHeaderOffset + 20, 100, true},
      {"resource rva outside sections", resourceDirectory, 0x7FFFFFF0u, false},
      {"section raw offset far away", optional + 224 + 20, 0xFFFFFF00u, false},
      {"section count 0", kPeHeaderOffset + 6, 0, true},
      {"named entry count huge", kResourceFileOffset + 12, 0xFFFF, true},
      {"name level points outside", kResourceFileOffset + 0x20 + 16 + 4, 0xFFFFFFF8u, false},
      {"data entry rva wraps", kResourceFileOffset + 0x50, 0xFFFFFFF0u, false},
      {"data size past the section", kResourceFileOffset + 0x54, 0x10000, false},
      {"fixed info signature", kResourceFileOffset + 0x90 + 40, 0xFEEF04BC, false},
      {"value shorter than fixed info", kResourceFileOffset + 0x90 + 2, 51, true},
      {"block length beyond data", kResourceFileOffset + 0x90, 200, true},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> image = BuildPeImage(PeImageSpec());
    if (c.u16)
      kvz::PutU16(&image[c.at], uint16_t(c.value));
    else
      kvz::PutU32(&image[c.at], c.value);
    PeVersion v;
    EXPECT_FALSE(Read(image, &v)) << c.what;
  }
}
