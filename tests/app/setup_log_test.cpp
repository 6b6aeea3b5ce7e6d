#include "setup/app/setup_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#if !defined(_WIN32)
#include <unistd.h>

// The Linux stand-in keeps the log in $TMPDIR, so the tools and the native
// tests of logging code write the same lines as setup does.
TEST(SetupLogPosix, FirstEntryWritesHeaderThenCrLfLines) {
  SetupLog& log = SetupLog::Instance();
  log.Close();
  char folder[] = "/tmp/kvlogXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  if (!*log.Path()) setenv("TMPDIR", folder, 1);  // before the path is fixed
  ASSERT_TRUE(log.Event(0x01000001, {"x"}));
  const std::string path = log.Path();
  log.Close();
  std::remove(path.c_str());

  ASSERT_TRUE(log.Event(0x03000007, {"a", nullptr, "c"}));
  log.SetLevel(kFatal);
  log.SetSource(9, 8);
  log.Trace("end %d  ", 1);
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  const std::string sep = std::string(78, '=') + "\r\n";
  EXPECT_EQ(text.compare(0, sep.size(), sep), 0) << text;
  const std::string tail = "03000007|a||c\r\n[Fatal]\tend 1 @ 9(8)\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);

  log.SetDeleteAtExit(true);
  log.Close();
  EXPECT_NE(access(path.c_str(), F_OK), 0);
  log.SetDeleteAtExit(false);
  rmdir(folder);
}
#endif
