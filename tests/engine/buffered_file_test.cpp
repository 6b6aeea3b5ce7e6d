// BufferedFile: lines, text conversion, seeking, memory blocks, the cipher
// hook, and write failures.
#include "setup/engine/buffered_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/support/kvz_writer.h"
#include "setup/engine/archive_cipher.h"

using kvtest::Bytes;

namespace {

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<std::string> Lines(BufferedFile& f, size_t limit) {
  std::vector<std::string> out;
  std::vector<char> line(limit);
  while (f.ReadLine(line.data(), limit)) out.emplace_back(line.data());
  return out;
}

}  // namespace

TEST(BufferedFile, ReadLineDropsCrKeepsLfAndHonoursTheLimit) {
  const Bytes text = B("[Install]\r\nAppName=Kelvo\r\n\r\nlast");
  for (size_t buffer : {1, 2, 5, 4096}) {
    BufferedFile f;
    f.OpenMemory(text.data(), text.size(), buffer);
    EXPECT_EQ(Lines(f, 100), (std::vector<std::string>{"[Install]\n", "AppName=Kelvo\n", "\n", "last"}))
        << buffer;
  }
  BufferedFile f;
  f.OpenMemory(text.data(), text.size());
  // At most limit - 1 bytes; the rest of the line comes next.
  EXPECT_EQ(Lines(f, 5), (std::vector<std::string>{"[Ins", "tall", "]\n", "AppN", "ame=", "Kelv", "o\n", "\n", "last"}));
  char line[4];
  EXPECT_FALSE(f.ReadLine(line, sizeof line)) << "nothing left";
  EXPECT_FALSE(f.ReadLine(line, 0));
}

TEST(BufferedFile, LoneCrCountsAsARead) {
  const Bytes text = B("\r");
  BufferedFile f;
  f.OpenMemory(text.data(), text.size());
  char line[8];
  EXPECT_TRUE(f.ReadLine(line, sizeof line));
  EXPECT_STREQ(line, "");
  EXPECT_FALSE(f.ReadLine(line, sizeof line));
}

TEST(BufferedFile, WriteStringAndPrintfWriteCrLf) {
  kvtest::TempDir dir;
  const std::string path = dir.Path("out.ini");
  for (size_t buffer : {1, 3, 4096}) {
    BufferedFile f;
    ASSERT_TRUE(f.Open(path.c_str(), FileOpen::WriteCreateAlways, buffer));
    EXPECT_TRUE(f.WriteString("a\r\nb\nc\r"));
    EXPECT_TRUE(f.Printf("%s=%d\n", "Count", 42));
    EXPECT_TRUE(f.WriteByte('\n'));  // raw bytes are not converted
    EXPECT_TRUE(f.Write("\r\n", 2));
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(kvtest::ReadFileBytes(path), B("a\r\nb\r\ncCount=42\r\n\n\r\n")) << buffer;
  }
}

TEST(BufferedFile, PrintfFormatsThrough2048Bytes) {
  kvtest::TempDir dir;
  const std::string path = dir.Path("long.txt");
  BufferedFile f;
  ASSERT_TRUE(f.Open(path.c_str(), FileOpen::WriteCreateAlways));
  const std::string longText(3000, 'x');
  EXPECT_TRUE(f.Printf("%s", longText.c_str()));
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(kvtest::ReadFileBytes(path).size(), 2047u);
}

TEST(BufferedFile, AppendGoesToTheEnd) {
  kvtest::TempDir dir;
  const std::string path = dir.Write("Setup.log", B("one\r\n"));
  BufferedFile f;
  ASSERT_TRUE(f.Open(path.c_str(), FileOpen::AppendOpenAlways));
  EXPECT_EQ(f.Tell(), 5u);
  EXPECT_TRUE(f.WriteString("two\n"));
  EXPECT_EQ(f.Tell(), 10u);
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(kvtest::ReadFileBytes(path), B("one\r\ntwo\r\n"));
  ASSERT_TRUE(f.Open(dir.Path("new.log").c_str(), FileOpen::AppendOpenAlways)) << "created when missing";
}

TEST(BufferedFile, ReadSeekTellOnFilesAndMemory) {
  Bytes data(10000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 13);
  kvtest::TempDir dir;
  const std::string path = dir.Write("data.bin", data);
  BufferedFile file, memory;
  ASSERT_TRUE(file.Open(path.c_str(), FileOpen::ReadExisting, 100));
  memory.OpenMemory(data.data(), data.size(), 100);
  for (BufferedFile* f : {&file, &memory}) {
    EXPECT_EQ(f->ReadByte(), data[0]);
    EXPECT_EQ(f->Tell(), 1u);
    uint8_t block[500];
    EXPECT_EQ(f->Read(block, sizeof block), sizeof block);
    EXPECT_EQ(std::memcmp(block, data.data() + 1, sizeof block), 0);
    EXPECT_EQ(f->Tell(), 501u);
    ASSERT_TRUE(f->Seek(9990));
    EXPECT_EQ(f->Tell(), 9990u);
    EXPECT_EQ(f->Read(block, sizeof block), 10u);
    EXPECT_EQ(f->ReadByte(), -1);
    ASSERT_TRUE(f->Seek(3));
    size_t available = 0;
    const uint8_t* p = f->Peek(&available);
    ASSERT_GT(available, 0u);
    EXPECT_EQ(*p, data[3]);
    f->Consume(2);
    EXPECT_EQ(f->Tell(), 5u);
    EXPECT_EQ(f->ReadByte(), data[5]);
  }
  EXPECT_FALSE(memory.Seek(10001));
}

TEST(BufferedFile, MissingFileAndClosedFile) {
  kvtest::TempDir dir;
  BufferedFile f;
  EXPECT_FALSE(f.Open(dir.Path("none").c_str(), FileOpen::ReadExisting));
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(f.ReadByte(), -1);
  EXPECT_FALSE(f.WriteByte(1));
  EXPECT_TRUE(f.Close());
  EXPECT_FALSE(f.Open(dir.Path("").c_str(), FileOpen::ReadExisting)) << "a folder is not a file";
}

// Bytes after a plain header are encrypted; attaching the cipher after the
// header decrypts what is already buffered and every refill after it.
TEST(BufferedFile, AttachedCipherDecryptsFromTheCurrentPosition) {
  Bytes plain(9000);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = uint8_t(i % 251);
  Bytes stored = plain;
  ArchiveCipher enc;
  enc.SetKey("key", 3);
  enc.Crypt(stored.data() + 8, stored.size() - 8);
  for (size_t buffer : {1, 7, 4096, 20000}) {
    BufferedFile f;
    f.OpenMemory(stored.data(), stored.size(), buffer);
    uint8_t head[8];
    ASSERT_EQ(f.Read(head, 8), 8u);
    auto* dec = new ArchiveCipher;
    dec->SetKey("key", 3);
    f.AttachCipher(dec);
    Bytes rest(plain.size() - 8);
    ASSERT_EQ(f.Read(rest.data(), rest.size()), rest.size());
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), plain.begin() + 8)) << buffer;
  }
}

TEST(BufferedFile, AttachedCipherEncryptsWrites) {
  kvtest::TempDir dir;
  const std::string path = dir.Path("enc.bin");
  const Bytes plain = kvtest::MixedData(10000, 3);
  BufferedFile f;
  ASSERT_TRUE(f.Open(path.c_str(), FileOpen::WriteCreateAlways, 100));
  auto* c = new ArchiveCipher;
  c->SetKey("w", 1);
  f.AttachCipher(c);
  EXPECT_TRUE(f.Write(plain.data(), plain.size()));
  EXPECT_TRUE(f.Close());
  Bytes onDisk = kvtest::ReadFileBytes(path);
  ArchiveCipher d;
  d.SetKey("w", 1);
  d.Crypt(onDisk.data(), onDisk.size());
  EXPECT_EQ(onDisk, plain);
}

#ifndef _WIN32
// A device that is always full: the failure shows in Write or Close.
TEST(BufferedFile, WriteFailureIsReported) {
  BufferedFile f;
  ASSERT_TRUE(f.Open("/dev/full", FileOpen::WriteCreateAlways, 16));
  EXPECT_TRUE(f.Write("abc", 3)) << "still buffered";
  EXPECT_FALSE(f.Write(Bytes(100).data(), 100));
  EXPECT_TRUE(f.Failed());
  EXPECT_FALSE(f.Close());
  ASSERT_TRUE(f.Open("/dev/full", FileOpen::WriteCreateAlways, 16));
  EXPECT_TRUE(f.WriteString("short\n"));
  EXPECT_FALSE(f.Close()) << "the failed flush at close";
}
#endif
