#include "tools/kvzpack/stamp.h"

#include <gtest/gtest.h>

#include "setup/engine/archive_format.h"

using namespace kvzpack;

namespace {

std::vector<uint8_t> Stub(size_t size) {
  std::vector<uint8_t> stub(size, 0x90);
  stub[0] = 'M';
  stub[1] = 'Z';
  return stub;
}

}  // namespace

TEST(Stamp, AppendsArchiveAndWritesComplementedWords) {
  const std::vector<uint8_t> stub = Stub(0x400);
  const std::vector<uint8_t> archive = {'k', 'v', 'z', '1', 1, 0, 0, 0, 0x78, 0xDA};
  std::vector<uint8_t> out;
  std::string error;
  ASSERT_TRUE(StampExecutable(stub, archive, &out, &error)) << error;
  ASSERT_EQ(out.size(), stub.size() + archive.size());
  EXPECT_TRUE(std::equal(archive.begin(), archive.end(), out.begin() + 0x400));
  EXPECT_EQ(kvz::GetU32(&out[0x1C]), 0x400u);
  EXPECT_EQ(kvz::GetU32(&out[0x20]), ~0x400u);
  EXPECT_EQ(kvz::GetU32(&out[0x78]), uint32_t(out.size()));
  EXPECT_EQ(kvz::GetU32(&out[0x7C]), ~uint32_t(out.size()));
  // Only the four words differ from the stub.
  for (size_t i = 0; i < stub.size(); ++i) {
    const bool word = (i >= 0x1C && i < 0x24) || (i >= 0x78 && i < 0x80);
    if (!word) {
      EXPECT_EQ(out[i], stub[i]) << i;
    }
  }

  StampWords words;
  EXPECT_EQ(ReadStamp(out.data(), out.size(), out.size(), &words), StampState::Valid);
  EXPECT_EQ(words.offset, 0x400u);
  EXPECT_EQ(words.end, out.size());
  EXPECT_EQ(ReadStamp(out.data(), out.size(), out.size() - 1, &words), StampState::Truncated);
  EXPECT_EQ(ReadStamp(stub.data(), stub.size(), stub.size(), &words), StampState::None);
}

TEST(Stamp, ReadStampRejectsBadWords) {
  std::vector<uint8_t> exe = Stub(0x100);
  kvz::PutU32(&exe[0x1C], 0x80);
  kvz::PutU32(&exe[0x20], ~0x80u);
  kvz::PutU32(&exe[0x78], 0x80);  // A == B
  kvz::PutU32(&exe[0x7C], ~0x80u);
  StampWords words;
  EXPECT_EQ(ReadStamp(exe.data(), exe.size(), exe.size(), &words), StampState::Invalid);
  kvz::PutU32(&exe[0x7C], 0x12345678);  // complement broken
  EXPECT_EQ(ReadStamp(exe.data(), exe.size(), exe.size(), &words), StampState::None);
  EXPECT_EQ(ReadStamp(exe.data(), 0x7F, exe.size(), &words), StampState::None);
}

TEST(Stamp, RefusesUnfitStubs) {
  const std::vector<uint8_t> archive(16, 1);
  std::vector<uint8_t> stamped;
  std::string error;
  ASSERT_TRUE(StampExecutable(Stub(0x200), archive, &stamped, &error));

  struct Case {
    const char* what;
    std::vector<uint8_t> stub;
    const char* message;
  } cases[] = {
      {"not MZ", std::vector<uint8_t>(0x200, 'x'), "no MZ header"},
      {"empty", {}, "no MZ header"},
      {"shorter than the header words", Stub(0x7F), "shorter than an MS-DOS header"},
      {"already stamped", stamped, "already carries an archive"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out;
    error.clear();
    EXPECT_FALSE(StampExecutable(c.stub, archive, &out, &error)) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
  }
  std::vector<uint8_t> out;
  EXPECT_TRUE(StampExecutable(Stub(0x80), archive, &out, &error)) << "exactly 0x80 bytes";
}
