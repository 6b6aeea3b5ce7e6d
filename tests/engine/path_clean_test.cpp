#include <gtest/gtest.h>

#include "setup/engine/path_clean.h"

TEST(PathClean, Table) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\Program Files\\Tool", "C:\\Program Files\\Tool"},
      {"C:\\a\"b|c<d>e*f?g", "C:\\a_b_c_d_e_f_g"},
      {"C:\\dir:stream", "C:\\dir_stream"},        // only the drive's colon stays
      {":C", "_C"},
      {"C:\\\\dir\\\\\\file", "C:\\dir\\file"},     // doubled separators dropped
      {"C://dir//file", "C:/dir/file"},
      {"C:\\/dir", "C:\\dir"},
      {"\\\\server\\share\\\\dir", "\\\\server\\share\\dir"},  // leading pair kept
      {"\\\\\\server", "\\\\server"},
      {"//server/share", "//server/share"},
      {"", ""},
      {"\\", "\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanPath(c.in), c.out) << c.in;
}
