// The archive reader: open results, entry headers, finding, reading,
// skipping and extracting, on archives made by the test-side writer.
#include "setup/engine/archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include "engine/support/kvz_writer.h"
#include "setup/engine/os_file.h"
#include "setup/engine/progress_sink.h"

using kvtest::ArchiveOptions;
using kvtest::Bytes;
using kvtest::Entry;

namespace {

Entry Make(const std::string& name, size_t size, uint32_t seed = 1) {
  Entry e;
  e.name = name;
  e.body = kvtest::MixedData(size, seed);
  return e;
}

std::vector<Entry> ThreeEntries() {
  return {Make("Setup.ini", 3000, 1), Make("_Setup1.bmp", 70000, 2), Make("0001\\F7\\lang.lng", 5000, 3)};
}

struct CountingSink : ProgressSink {
  uint64_t added = 0;
  int polls = 0;
  void Add(uint32_t n) override { added += n; }
  bool Poll() override {
    ++polls;
    return true;  // "cancel": extraction must ignore it
  }
  void SetRange(uint64_t) override {}
};

}  // namespace

// --- Open ------------------------------------------------------------------

struct OpenCase {
  const char* what;
  int version;
  uint32_t flags;
  const char* writtenWith;  // password the archive is encrypted with ("" none)
  bool badCheck;
  const char* openWith;  // nullptr: no password
  int expected;
};

class ArchiveOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(ArchiveOpen, GivesTheResultOfTheTable) {
  const OpenCase& c = GetParam();
  ArchiveOptions o;
  o.version = c.version;
  o.flags = c.flags;
  o.password = c.writtenWith;
  o.badCheck = c.badCheck;
  const Bytes archive = kvtest::BuildArchive(ThreeEntries(), o);
  kvtest::TempDir dir;
  const std::string path = dir.Write("a.kvz", archive);
  SetupArchive reader;
  EXPECT_EQ(reader.Open(path.c_str(), 0, c.openWith), c.expected) << c.what;
  EXPECT_EQ(reader.IsOpen(), c.expected == 0);
  if (c.expected == 0) {
    ArchiveEntryHeader h;
    ASSERT_TRUE(reader.ReadHeader(&h));
    EXPECT_STREQ(h.name, "Setup.ini");
  }
  if (c.expected == 1) {
    EXPECT_EQ(reader.Flags() & 2u, 2u) << "flags stay readable for the prompt";
  }
  // The same from memory.
  SetupArchive fromMemory;
  EXPECT_EQ(fromMemory.OpenMemory(archive.data(), archive.size(), c.openWith), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArchiveOpen,
    ::testing::Values(OpenCase{"kvz1 plain", 1, 1, "", false, nullptr, 0},
                      OpenCase{"kvz1 with bit 1 needs no password and has no check block", 1, 3, "", false,
                               nullptr, 0},
                      OpenCase{"kvz1 with bit 1 ignores a password", 1, 3, "", false, "pw", 0},
                      OpenCase{"kvz2 without bit 1, good check block", 2, 1, "", false, nullptr, 0},
                      OpenCase{"kvz2 without bit 1, bad check block", 2, 1, "", true, nullptr, -1},
                      OpenCase{"kvz2 without bit 1 ignores a password", 2, 1, "", false, "pw", 0},
                      OpenCase{"encrypted, no password", 2, 1, "secret", false, nullptr, 1},
                      OpenCase{"encrypted, empty password", 2, 1, "secret", false, "", 1},
                      OpenCase{"encrypted, wrong password", 2, 1, "secret", false, "Secret", -1},
                      OpenCase{"encrypted, right password", 2, 1, "secret", false, "secret", 0},
                      OpenCase{"encrypted, right password, hidden typing", 2, 9, "secret", false, "secret", 0}));

TEST(ArchiveOpen, FailsForBadFilesAndHeaders) {
  kvtest::TempDir dir;
  SetupArchive reader;
  EXPECT_EQ(reader.Open(dir.Path("missing.kvz").c_str(), 0, nullptr), -1);

  Bytes archive = kvtest::BuildArchive(ThreeEntries());
  Bytes badMagic = archive;
  badMagic[3] = '3';
  EXPECT_EQ(reader.OpenMemory(badMagic.data(), badMagic.size(), nullptr), -1) << "magic kvz3";
  EXPECT_EQ(reader.OpenMemory(archive.data(), 7, nullptr), -1) << "short header";
  EXPECT_EQ(reader.OpenMemory(archive.data(), 12, nullptr), -1) << "short check block";
  Bytes badZlib = archive;
  badZlib[16] = 0x79;  // CMF no longer fits FLG
  EXPECT_EQ(reader.OpenMemory(badZlib.data(), badZlib.size(), nullptr), -1) << "zlib check bits";
  EXPECT_EQ(reader.OpenMemory(archive.data(), 17, nullptr), -1) << "one zlib header byte";
  Bytes dictionary = kvtest::BuildArchiveAround(Bytes{0x78, 0xBB, 0, 0, 0, 0});
  EXPECT_EQ(reader.OpenMemory(dictionary.data(), dictionary.size(), nullptr), -1) << "preset dictionary";
  EXPECT_FALSE(reader.IsOpen());
  // An offset past the end: reading the header fails.
  const std::string path = dir.Write("a.kvz", archive);
  EXPECT_EQ(reader.Open(path.c_str(), uint32_t(archive.size()), nullptr), -1);
  EXPECT_EQ(reader.Open(path.c_str(), 0, nullptr), 0);
  reader.Close();
  reader.Close();  // safe twice
  EXPECT_FALSE(reader.IsOpen());
}

TEST(ArchiveOpen, OpensAtTheStampedOffset) {
  uint32_t offset = 0;
  const Bytes exe = kvtest::StampedExecutable(kvtest::BuildArchive(ThreeEntries()), &offset);
  kvtest::TempDir dir;
  const std::string path = dir.Write("setup.exe", exe);
  uint32_t a = 0, b = 0;
  ASSERT_TRUE(ReadArchiveStamp(path.c_str(), &a, &b));
  EXPECT_EQ(a, offset);
  EXPECT_EQ(b, exe.size());
  SetupArchive reader;
  ASSERT_EQ(reader.Open(path.c_str(), a, nullptr), 0);
  ArchiveEntryHeader h;
  EXPECT_TRUE(reader.Find("_setup1.BMP", &h));
}

// --- Stamp -------------------------------------------------------------------

TEST(ArchiveStamp, RejectsInvalidStamps) {
  uint32_t offset = 0;
  const Bytes good = kvtest::StampedExecutable(kvtest::BuildArchive(ThreeEntries()), &offset);
  kvtest::TempDir dir;
  uint32_t a, b;
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  };
  const Case cases[] = {
      {"complement of A wrong", 0x20, 0},
      {"complement of B wrong", 0x7C, 0},
      {"A equal to B", 0x1C, uint32_t(good.size())},
  };
  for (const Case& c : cases) {
    Bytes exe = good;
    kvz::PutU32(exe.data() + c.at, c.value);
    if (c.at == 0x1C) kvz::PutU32(exe.data() + 0x20, ~c.value);
    EXPECT_FALSE(ReadArchiveStamp(dir.Write("x.exe", exe).c_str(), &a, &b)) << c.what;
  }
  Bytes shorter = good;
  shorter.pop_back();
  EXPECT_FALSE(ReadArchiveStamp(dir.Write("short.exe", shorter).c_str(), &a, &b)) << "file shorter than B";
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_TRUE(ReadArchiveStamp(dir.Write("long.exe", longer).c_str(), &a, &b)) << "longer than B is fine";
  EXPECT_FALSE(ReadArchiveStamp(dir.Write("tiny.exe", Bytes(0x7F, 0)).c_str(), &a, &b)) << "no room for a stamp";
  EXPECT_FALSE(ReadArchiveStamp(dir.Write("zero.exe", Bytes(0x400, 0)).c_str(), &a, &b)) << "unstamped";
  EXPECT_FALSE(ReadArchiveStamp(dir.Path("none.exe").c_str(), &a, &b)) << "missing file";
}

// --- Headers and bodies --------------------------------------------------

TEST(ArchiveRead, WalksAllEntriesAndReachesTheEnd) {
  const auto entries = ThreeEntries();
  const Bytes archive = kvtest::BuildArchive(entries);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  for (const Entry& e : entries) {
    ArchiveEntryHeader h;
    bool end = false;
    ASSERT_TRUE(reader.ReadHeader(&h, &end));
    EXPECT_FALSE(end);
    EXPECT_EQ(std::memcmp(h.magic, "kvff", 4), 0);
    EXPECT_STREQ(h.name, e.name.c_str());
    EXPECT_EQ(h.nameLength, e.name.size());
    EXPECT_EQ(h.size, e.body.size());
    EXPECT_EQ(h.lastWrite, e.lastWrite);
    EXPECT_EQ(h.productVersionLS, 1u);
    EXPECT_EQ(h.productVersionMS, 2u);
    EXPECT_EQ(h.fileVersionLS, 3u);
    EXPECT_EQ(h.fileVersionMS, 4u);
    EXPECT_EQ(h.attributes, e.attributes);
    std::unique_ptr<uint8_t[]> body(reader.ReadBody(h, &end));
    ASSERT_TRUE(body);
    EXPECT_EQ(Bytes(body.get(), body.get() + h.size), e.body);
  }
  ArchiveEntryHeader h;
  bool end = false;
  EXPECT_FALSE(reader.ReadHeader(&h, &end));
  EXPECT_TRUE(end);
  end = false;
  EXPECT_FALSE(reader.ReadHeader(&h, &end)) << "the end stays the end";
  EXPECT_TRUE(end);
}

TEST(ArchiveRead, EncryptedArchiveDecodesWithTheRightPassword) {
  ArchiveOptions o;
  o.password = "p\xE4ssword";
  const auto entries = ThreeEntries();
  const Bytes archive = kvtest::BuildArchive(entries, o);
  kvtest::TempDir dir;
  const std::string path = dir.Write("enc.kvz", archive);
  SetupArchive reader;
  ASSERT_EQ(reader.Open(path.c_str(), 0, o.password.c_str()), 0);
  ArchiveEntryHeader h;
  std::unique_ptr<uint8_t[]> body(reader.FindAndRead("0001\\f7\\LANG.LNG", &h, nullptr));
  ASSERT_TRUE(body);
  EXPECT_EQ(Bytes(body.get(), body.get() + h.size), entries[2].body);
}

TEST(ArchiveRead, NamesOf260BytesAreAcceptedAnd261Rejected) {
  std::vector<Entry> entries = {Make(std::string(260, 'n'), 10), Make(std::string(261, 'x'), 10)};
  const Bytes archive = kvtest::BuildArchive(entries);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_EQ(std::strlen(h.name), 260u);
  EXPECT_TRUE(reader.SkipBody(h));
  bool end = false;
  EXPECT_FALSE(reader.ReadHeader(&h, &end));
  EXPECT_FALSE(end);
  EXPECT_EQ(h.nameLength, 261) << "the record keeps what was read";
}

TEST(ArchiveRead, WrongEntryMagicFailsTheHeader) {
  Bytes stream = kvtest::EntryStream({Make("a", 5)});
  stream[3] = 'x';
  const Bytes archive = kvtest::BuildArchiveAround(kvtest::Zlib(stream));
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  EXPECT_FALSE(reader.ReadHeader(&h));
  EXPECT_EQ(h.size, 5u);
}

TEST(ArchiveRead, EmptyEntriesReadAsEmptyAndCannotBeSkipped) {
  const std::vector<Entry> entries = {Make("empty", 0), Make("after", 100)};
  const Bytes archive = kvtest::BuildArchive(entries);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_EQ(h.size, 0u);
  EXPECT_FALSE(reader.SkipBody(h)) << "an empty body cannot be skipped";
  std::unique_ptr<uint8_t[]> body(reader.ReadBody(h));
  EXPECT_TRUE(body) << "but it reads as an empty block";
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_STREQ(h.name, "after");
}

TEST(ArchiveRead, SkipFailsWhenTheStreamEndsEarly) {
  const Bytes archive = kvtest::BuildArchive({Make("a", 100)});
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  h.size = 101;
  bool end = false;
  EXPECT_FALSE(reader.SkipBody(h, &end));
  EXPECT_TRUE(end);
}

// --- Find ------------------------------------------------------------------

TEST(ArchiveFind, FindsForwardCaseInsensitively) {
  const auto entries = ThreeEntries();
  const Bytes archive = kvtest::BuildArchive(entries);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  CountingSink sink;
  ASSERT_TRUE(reader.Find("0001\\F7\\LANG.lng", &h, nullptr, &sink));
  EXPECT_EQ(h.size, 5000u);
  EXPECT_GT(sink.polls, 0) << "skipped bodies report progress";
  std::unique_ptr<uint8_t[]> body(reader.ReadBody(h));
  ASSERT_TRUE(body);
  EXPECT_EQ(Bytes(body.get(), body.get() + h.size), entries[2].body);
}

TEST(ArchiveFind, AnEntryBeforeThePositionIsNotFound) {
  const Bytes archive = kvtest::BuildArchive(ThreeEntries());
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.Find("_Setup1.bmp", &h));
  ASSERT_TRUE(reader.SkipBody(h));
  bool end = false;
  EXPECT_FALSE(reader.Find("Setup.ini", &h, &end));
  EXPECT_TRUE(end);
}

TEST(ArchiveFind, AnEmptyEntryOnTheWayEndsTheSearch) {
  const std::vector<Entry> entries = {Make("a", 10), Make("empty", 0), Make("b", 10)};
  const Bytes archive = kvtest::BuildArchive(entries);
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  bool end = false;
  EXPECT_FALSE(reader.Find("b", &h, &end));
  EXPECT_FALSE(end);
  // Sought itself, the empty entry is found.
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  EXPECT_TRUE(reader.Find("EMPTY", &h));
  EXPECT_EQ(h.size, 0u);
}

TEST(ArchiveFind, FindAndReadGivesNothingForAMissingEntry) {
  const Bytes archive = kvtest::BuildArchive(ThreeEntries());
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  EXPECT_EQ(reader.FindAndRead("nothere", &h, nullptr), nullptr);
}

// --- Extract -------------------------------------------------------------

TEST(ArchiveExtract, WritesBodyTimeAndReadOnlyAttribute) {
  std::vector<Entry> entries = ThreeEntries();
  entries[1].lastWrite = 0x01C4000012345670ull;  // 2004, whole microseconds
  entries[1].attributes = 0x21;                  // archive, read-only
  const Bytes archive = kvtest::BuildArchive(entries);
  kvtest::TempDir dir;
  SetupArchive reader;
  ASSERT_EQ(reader.Open(dir.Write("a.kvz", archive).c_str(), 0, nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.Find("_Setup1.bmp", &h));
  const std::string target = dir.Path("_Setup1.bmp");
  CountingSink sink;
  ASSERT_TRUE(reader.Extract(h, target.c_str(), nullptr, &sink));
  EXPECT_EQ(kvtest::ReadFileBytes(target), entries[1].body);
  uint64_t t = 0;
  ASSERT_TRUE(osfile::GetLastWriteTime(target.c_str(), &t));
  EXPECT_EQ(t, entries[1].lastWrite);
  EXPECT_TRUE(osfile::GetAttributes(target.c_str()) & osfile::kAttrReadOnly);
  // Progress counts from the opening of the stream: 40 + 9 + 3000 bytes of
  // the first entry, 40 + 11 + 70000 of this one.
  const uint64_t decoded = 40 + 9 + 3000 + 40 + 11 + 70000;
  EXPECT_EQ(sink.added, decoded / 1024 * 1024 - (40 + 9 + 3000 + 40 + 11) / 1024 * 1024);
  EXPECT_EQ(uint64_t(sink.polls) * 1024, sink.added);
  // The reader goes on after it.
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_STREQ(h.name, "0001\\F7\\lang.lng");
}

TEST(ArchiveExtract, ReplacesAReadOnlyTarget) {
  const auto entries = ThreeEntries();
  const Bytes archive = kvtest::BuildArchive(entries);
  kvtest::TempDir dir;
  const std::string target = dir.Write("Setup.ini", Bytes(10, 'x'));
  ASSERT_TRUE(osfile::SetAttributes(target.c_str(), osfile::kAttrReadOnly));
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  ASSERT_TRUE(reader.Extract(h, target.c_str()));
  EXPECT_EQ(kvtest::ReadFileBytes(target), entries[0].body);
  EXPECT_FALSE(osfile::GetAttributes(target.c_str()) & osfile::kAttrReadOnly);
}

TEST(ArchiveExtract, EmptyEntryMakesAnEmptyFileWithItsTime) {
  std::vector<Entry> entries = {Make("empty.txt", 0)};
  entries[0].lastWrite = 0x01C3A00000000000ull;
  const Bytes archive = kvtest::BuildArchive(entries);
  kvtest::TempDir dir;
  const std::string target = dir.Write("empty.txt", Bytes(100, 'x'));
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  ASSERT_TRUE(reader.Extract(h, target.c_str()));
  EXPECT_TRUE(kvtest::ReadFileBytes(target).empty());
  uint64_t t = 0;
  ASSERT_TRUE(osfile::GetLastWriteTime(target.c_str(), &t));
  EXPECT_EQ(t, entries[0].lastWrite);
}

TEST(ArchiveExtract, ADamagedBodyLeavesNoFile) {
  Bytes stream = kvtest::EntryStream({Make("a", 5000)});
  Bytes z = kvtest::Zlib(stream, kvtest::Method::kStored);
  z.resize(z.size() - 2000);  // cut inside the body
  const Bytes archive = kvtest::BuildArchiveAround(z);
  kvtest::TempDir dir;
  const std::string target = dir.Path("a");
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_FALSE(reader.Extract(h, target.c_str()));
  EXPECT_EQ(osfile::GetAttributes(target.c_str()), osfile::kNoAttributes);
}

#ifndef _WIN32
// A disk that fills up during the write: the extraction fails and leaves
// no file that looks complete. (A file-size limit stands in for the disk.)
TEST(ArchiveExtract, DiskFullFailsAndLeavesNoFile) {
  const auto entries = ThreeEntries();
  const Bytes archive = kvtest::BuildArchive(entries);
  kvtest::TempDir dir;
  const std::string target = dir.Path("_Setup1.bmp");
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.Find("_Setup1.bmp", &h));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 20000;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = reader.Extract(h, target.c_str());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(ok);
  EXPECT_EQ(osfile::GetAttributes(target.c_str()), osfile::kNoAttributes);
  ASSERT_TRUE(reader.ReadHeader(&h)) << "the body was read in full";
  EXPECT_STREQ(h.name, "0001\\F7\\lang.lng");
}
#endif

TEST(ArchiveExtract, AnUncreatableTargetFailsAndSkipsTheBody) {
  const Bytes archive = kvtest::BuildArchive(ThreeEntries());
  kvtest::TempDir dir;
  SetupArchive reader;
  ASSERT_EQ(reader.OpenMemory(archive.data(), archive.size(), nullptr), 0);
  ArchiveEntryHeader h;
  ASSERT_TRUE(reader.ReadHeader(&h));
  EXPECT_FALSE(reader.Extract(h, dir.Path("no/such/folder/Setup.ini").c_str()));
  EXPECT_TRUE(reader.Find("_Setup1.bmp", &h)) << "the reader stands at the next entry";
}

TEST(ArchiveExtract, NothingWorksOnAClosedReader) {
  SetupArchive reader;
  ArchiveEntryHeader h{};
  bool end = false;
  EXPECT_FALSE(reader.ReadHeader(&h, &end));
  EXPECT_FALSE(end);
  h.size = 1;
  EXPECT_FALSE(reader.SkipBody(h));
  EXPECT_FALSE(reader.Find("a", &h));
  EXPECT_EQ(reader.ReadBody(h), nullptr);
  EXPECT_FALSE(reader.Extract(h, "x"));
}
