#include "tools/kvzpack/file_time.h"

#include <gtest/gtest.h>

using namespace kvzpack;

TEST(FileTime, ConvertsBothWaysAndFormatsUtc) {
  struct Case {
    int64_t seconds;
    uint32_t nanoseconds;
    uint64_t fileTime;
    const char* text;
  } cases[] = {
      {0, 0, 116444736000000000ull, "1970-01-01T00:00:00Z"},
      {951782400, 0, 125962560000000000ull, "2000-02-29T00:00:00Z"},   // leap day
      {1083827289, 123456700, 127283008891234567ull, "2004-05-06T07:08:09Z"},
      {-kEpochDifference, 0, 0, "1601-01-01T00:00:00Z"},
      {4102444799, 0, 157469183990000000ull, "2099-12-31T23:59:59Z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileTimeFromUnix(c.seconds, c.nanoseconds), c.fileTime) << c.text;
    EXPECT_EQ(FormatFileTime(c.fileTime), c.text);
    int64_t s;
    uint32_t ns;
    UnixFromFileTime(c.fileTime, &s, &ns);
    EXPECT_EQ(s, c.seconds);
    EXPECT_EQ(ns, c.nanoseconds / 100 * 100);
  }
  EXPECT_EQ(FileTimeFromUnix(-kEpochDifference - 1, 0), 0u);  // before 1601
}
