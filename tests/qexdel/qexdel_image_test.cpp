// The helper program as setup carries it: exactly 2048 bytes, a Windows GUI
// program that imports nothing but its nine KERNEL32 functions (anything
// more could be missing on the oldest systems, or pull in a C run-time).
#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "pe_imports.h"

namespace {

struct HelperBuild {
  const char* name;
  const char* path;
  uint16_t machine;
  uint16_t magic;
};

const HelperBuild kBuilds[] = {
    {"win32", KV_QEXDEL_WIN32, 0x14C, 0x10B},
    {"win64", KV_QEXDEL_WIN64, 0x8664, 0x20B},
};

bool ReadFile(const char* path, std::vector<unsigned char>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return true;
}

class QexDelImage : public testing::TestWithParam<HelperBuild> {};

TEST_P(QexDelImage, IsExactlySizedGuiProgramWithOnlyItsNineImports) {
  const HelperBuild& build = GetParam();
  std::vector<unsigned char> file;
  if (!ReadFile(build.path, file))
    GTEST_SKIP() << build.name << " build not present: " << build.path;

  EXPECT_EQ(file.size(), 2048u);
  PeImage image;
  std::string error;
  ASSERT_TRUE(ReadPeImage(file, image, error)) << error;
  EXPECT_EQ(image.machine, build.machine);
  EXPECT_EQ(image.magic, build.magic);
  EXPECT_EQ(image.subsystem, 2) << "not a Windows GUI program";
  EXPECT_EQ(image.relocationDirSize, 0u);
  if (build.machine == 0x14C) {
    // Windows 95 refuses programs that ask for a later subsystem.
    EXPECT_EQ(image.subsystemMajor, 4);
    EXPECT_EQ(image.subsystemMinor, 0);
  }

  std::vector<std::string> expected = {
      "KERNEL32.dll!GetEnvironmentStrings", "KERNEL32.dll!GetFileAttributesA",
      "KERNEL32.dll!SetFileAttributesA",    "KERNEL32.dll!DeleteFileA",
      "KERNEL32.dll!RemoveDirectoryA",      "KERNEL32.dll!GetLastError",
      "KERNEL32.dll!lstrlenA",              "KERNEL32.dll!Sleep",
      "KERNEL32.dll!ExitProcess"};
  std::sort(expected.begin(), expected.end());
  std::sort(image.imports.begin(), image.imports.end());
  EXPECT_EQ(image.imports, expected);
}

INSTANTIATE_TEST_SUITE_P(Builds, QexDelImage, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<HelperBuild>& info) {
                           return std::string(info.param.name);
                         });

// The reader itself must not wander outside a damaged file.
TEST(PeImports, RejectsTruncatedAndForeignFiles) {
  std::vector<unsigned char> file;
  if (!ReadFile(KV_QEXDEL_WIN64, file) && !ReadFile(KV_QEXDEL_WIN32, file))
    GTEST_SKIP() << "no helper build present";
  PeImage image;
  std::string error;
  for (size_t cut : {size_t(0), size_t(0x40), size_t(0x100), size_t(0x300)}) {
    std::vector<unsigned char> part(file.begin(), file.begin() + cut);
    EXPECT_FALSE(ReadPeImage(part, image, error)) << "cut at " << cut;
  }
  std::vector<unsigned char> text(600, 'A');
  EXPECT_FALSE(ReadPeImage(text, image, error));
}

}  // namespace
