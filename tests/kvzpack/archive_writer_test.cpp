// ArchiveWriter against setup's own reader: what the builder writes is
// what setup will find.
#include "tools/kvzpack/archive_writer.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "kvzpack/kvzpack_test_support.h"
#include "kvzpack/pe_image_builder.h"
#include "setup/engine/archive_format.h"
#include "tools/kvzpack/file_time.h"
#include "tools/kvzpack/stamp.h"

using namespace kvzpack;
using namespace kvzpack_test;

namespace {

struct Content {
  const char* what;
  std::string name;
  std::vector<uint8_t> body;
};

// Bodies that stress different DEFLATE paths: literals, long matches,
// stored blocks, nothing at all; and the longest name allowed.
std::vector<Content> MixedContents() {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "[Files]\nFile=0001\\F7\\lang.lng|<AppFolder>|3|2|0|0|-1|0\n";
  std::vector<uint8_t> tail = RandomBytes(7, 100000);
  tail.insert(tail.end(), 70000, 'x');  // matches reaching back across the random part
  return {
      {"text", "Setup.ini", Bytes(text)},
      {"empty", "0001\\F7\\empty.txt", {}},
      {"zeros", "0001\\F7\\zeros.bin", std::vector<uint8_t>(300000, 0)},
      {"incompressible", "0001\\F0\\noise.bin", RandomBytes(1, 200000)},
      {"empty again", "0004\\F7\\empty2", {}},
      {"mixed", std::string(kvz::kMaxEntryName, 'n'), tail},
      {"tiny", "t", {42}},
  };
}

EntryInfo Info(const std::string& name, uint32_t salt) {
  EntryInfo info;
  info.name = name;
  info.lastWrite = 127283008891234567ull + salt;
  info.attributes = uint16_t(0x20 | (salt & 7));
  info.version.fileVersionMS = 0x00020043 + salt;
  info.version.fileVersionLS = 0x0584000B;
  info.version.productVersionMS = 0x00030000;
  info.version.productVersionLS = salt;
  return info;
}

std::vector<uint8_t> Build(const std::vector<Content>& contents, const ArchiveOptions& options) {
  ArchiveWriter writer;
  std::string error;
  uint32_t salt = 0;
  for (const Content& c : contents) {
    EXPECT_TRUE(writer.AddData(Info(c.name, salt++), c.body.data(), c.body.size(), &error)) << error;
  }
  std::vector<uint8_t> archive;
  EXPECT_TRUE(writer.Finish(options, &archive, &error)) << error;
  return archive;
}

void ExpectEntries(const std::vector<DecodedEntry>& got, const std::vector<Content>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    const ArchiveEntryHeader& h = got[i].header;
    const EntryInfo info = Info(want[i].name, uint32_t(i));
    EXPECT_EQ(std::string(h.name), want[i].name) << want[i].what;
    EXPECT_EQ(h.nameLength, want[i].name.size());
    EXPECT_EQ(h.size, want[i].body.size()) << want[i].what;
    EXPECT_TRUE(got[i].body == want[i].body) << want[i].what;
    EXPECT_EQ(h.lastWrite, info.lastWrite);
    EXPECT_EQ(h.attributes, info.attributes);
    EXPECT_EQ(h.fileVersionMS, info.version.fileVersionMS);
    EXPECT_EQ(h.fileVersionLS, info.version.fileVersionLS);
    EXPECT_EQ(h.productVersionMS, info.version.productVersionMS);
    EXPECT_EQ(h.productVersionLS, info.version.productVersionLS);
  }
}

std::vector<uint8_t> MzStub() {
  std::vector<uint8_t> stub(0x600, 0);
  stub[0] = 'M';
  stub[1] = 'Z';
  return stub;
}

}  // namespace

// Every format, with and without a password, stand-alone and stamped.
TEST(ArchiveWriter, RoundTripsThroughSetupReader) {
  const std::vector<Content> contents = MixedContents();
  struct Case {
    const char* what;
    ArchiveFormat format;
    const char* password;
    bool stamped;
    uint32_t flags;
  } cases[] = {
      {"kvz1", ArchiveFormat::Kvz1, nullptr, false, 0x1},
      {"kvz2", ArchiveFormat::Kvz2, nullptr, false, 0x1},
      {"kvz2 encrypted", ArchiveFormat::Kvz2, "s3cret", false, 0x3},
      {"kvz1 stamped", ArchiveFormat::Kvz1, nullptr, true, 0x1},
      {"kvz2 encrypted stamped", ArchiveFormat::Kvz2, "s3cret", true, 0x3},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ArchiveOptions options;
    options.format = c.format;
    if (c.password) options.password = c.password;
    std::vector<uint8_t> bytes = Build(contents, options);
    EXPECT_EQ(kvz::GetU32(&bytes[4]), c.flags);
    uint32_t offset = 0;
    if (c.stamped) {
      std::vector<uint8_t> exe;
      std::string error;
      ASSERT_TRUE(StampExecutable(MzStub(), bytes, &exe, &error)) << error;
      bytes.swap(exe);
      offset = 0x600;
    }
    const std::string path = dir / "archive";
    WriteFile(path, bytes);
    if (c.stamped) {
      uint32_t a = 0, b = 0;
      ASSERT_TRUE(ReadArchiveStamp(path.c_str(), &a, &b));
      EXPECT_EQ(a, offset);
      EXPECT_EQ(b, bytes.size());
    }
    std::vector<DecodedEntry> entries;
    ASSERT_EQ(DecodeArchive(path, offset, c.password, &entries), 0);
    ExpectEntries(entries, contents);
    if (c.password) {
      EXPECT_EQ(DecodeArchive(path, offset, nullptr, &entries), 1) << "needs a password";
      EXPECT_EQ(DecodeArchive(path, offset, "s3creT", &entries), -1) << "wrong password";
    }
  }
}

TEST(ArchiveWriter, SameInputsGiveIdenticalBytes) {
  ArchiveOptions plain;
  ArchiveOptions secret;
  secret.password = "pw";
  secret.hidePassword = true;
  for (const ArchiveOptions& options : {plain, secret}) {
    const std::vector<uint8_t> first = Build(MixedContents(), options);
    const std::vector<uint8_t> second = Build(MixedContents(), options);
    EXPECT_TRUE(first == second);
  }
  // The check block depends on the content, not only on the constant.
  std::vector<Content> other = MixedContents();
  other[0].body.push_back('!');
  const std::vector<uint8_t> a = Build(MixedContents(), plain);
  const std::vector<uint8_t> b = Build(other, plain);
  EXPECT_NE(kvz::GetU32(&a[8]), kvz::GetU32(&b[8]));
  EXPECT_EQ(kvz::GetU32(&a[8]) ^ kvz::GetU32(&a[12]), kvz::kCheckConstant);
}

TEST(ArchiveWriter, HeaderFlagsAndLayout) {
  ArchiveOptions options;
  options.password = "pw";
  options.hidePassword = true;
  const std::vector<uint8_t> secret = Build({{"one", "a", Bytes("abc")}}, options);
  EXPECT_EQ(std::memcmp(secret.data(), "kvz2", 4), 0);
  EXPECT_EQ(kvz::GetU32(&secret[4]), 0x1u | 0x2u | 0x8u);

  options = ArchiveOptions();
  options.format = ArchiveFormat::Kvz1;
  const std::vector<uint8_t> plain = Build({{"one", "a", Bytes("abc")}}, options);
  EXPECT_EQ(std::memcmp(plain.data(), "kvz1", 4), 0);
  EXPECT_EQ(plain[8], 0x78) << "the zlib stream follows the 8-byte header";
  EXPECT_EQ((plain[8] * 256 + plain[9]) % 31, 0);
}

TEST(ArchiveWriter, RefusesWhatCannotBeStored) {
  ArchiveWriter writer;
  std::string error;
  const uint8_t byte = 1;
  EntryInfo info;
  info.name = std::string(kvz::kMaxEntryName + 1, 'n');
  EXPECT_FALSE(writer.AddData(info, &byte, 1, &error));
  EXPECT_NE(error.find("261 bytes"), std::string::npos) << error;
  info.name = "";
  EXPECT_FALSE(writer.AddData(info, &byte, 1, &error));
  info.name = std::string("a\0b", 3);
  EXPECT_FALSE(writer.AddData(info, &byte, 1, &error));
  EXPECT_EQ(writer.EntryCount(), 0u);

  info.name = "ok";
  ASSERT_TRUE(writer.AddData(info, &byte, 1, &error));
  std::vector<uint8_t> archive;
  ArchiveOptions options;
  options.format = ArchiveFormat::Kvz1;
  options.password = "pw";
  EXPECT_FALSE(writer.Finish(options, &archive, &error)) << "kvz1 cannot be encrypted";
  options.format = ArchiveFormat::Kvz2;
  options.password.assign(kMaxPasswordLength + 1, 'p');
  EXPECT_FALSE(writer.Finish(options, &archive, &error));
  EXPECT_NE(error.find("longer than 255"), std::string::npos) << error;
  options.password.assign(kMaxPasswordLength, 'p');
  EXPECT_TRUE(writer.Finish(options, &archive, &error)) << error;
}

// AddFile takes the header from the file: time, read-only bit, PE version.
TEST(ArchiveWriter, AddFileReadsTheFilesRecord) {
  ScratchDir dir;
  const std::string exe = dir / "tool.exe";
  const std::string text = dir / "notes.txt";
  kvzpack_test::PeImageSpec layout;
  WriteFile(exe, BuildPeImage(layout));
  WriteFile(text, Bytes("hello"));
  ASSERT_EQ(::chmod(text.c_str(), 0444), 0);
  struct timespec times[2] = {{0, UTIME_OMIT}, {1083827289, 123456700}};
  ASSERT_EQ(::utimensat(AT_FDCWD, exe.c_str(), times, 0), 0);

  ArchiveWriter writer;
  std::string error;
  ASSERT_TRUE(writer.AddFile("0001\\F7\\tool.exe", exe, EntryOverrides(), &error)) << error;
  ASSERT_TRUE(writer.AddFile("notes.txt", text, EntryOverrides(), &error)) << error;
  EntryOverrides hidden;
  hidden.setAttributes = true;
  hidden.attributes = 0x22;
  ASSERT_TRUE(writer.AddFile("hidden.txt", text, hidden, &error)) << error;
  EXPECT_FALSE(writer.AddFile("missing", dir / "missing", EntryOverrides(), &error));
  EXPECT_NE(error.find("missing"), std::string::npos);
  EXPECT_FALSE(writer.AddFile("folder", dir.path(), EntryOverrides(), &error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos);

  std::vector<uint8_t> archive;
  ASSERT_TRUE(writer.Finish(ArchiveOptions(), &archive, &error));
  WriteFile(dir / "a.kvz", archive);
  std::vector<DecodedEntry> entries;
  ASSERT_EQ(DecodeArchive(dir / "a.kvz", 0, nullptr, &entries), 0);
  ASSERT_EQ(entries.size(), 3u);
  const ArchiveEntryHeader& tool = entries[0].header;
  EXPECT_EQ(tool.lastWrite, 127283008891234567ull);
  EXPECT_EQ(tool.attributes, 0x20);
  EXPECT_EQ(tool.fileVersionMS, layout.fileVersionMS);
  EXPECT_EQ(tool.fileVersionLS, layout.fileVersionLS);
  EXPECT_EQ(tool.productVersionMS, layout.productVersionMS);
  EXPECT_EQ(tool.productVersionLS, layout.productVersionLS);
  EXPECT_EQ(entries[1].header.attributes, 0x21) << "read-only plus archive";
  EXPECT_EQ(entries[1].header.fileVersionMS, 0u);
  EXPECT_EQ(entries[2].header.attributes, 0x22);
  EXPECT_TRUE(entries[2].body == Bytes("hello"));
}
