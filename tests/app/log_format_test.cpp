#include "setup/app/log_format.h"

#include <gtest/gtest.h>

#include <string>

using logfmt::TracePosition;

TEST(LogFormat, EventLineWritesEveryArgumentAbsentOnesAsEmpty) {
  const char* three[] = {"C:\\App\\a.dll", nullptr, "5"};
  EXPECT_EQ(logfmt::EventLine(0x04010014, 3, three),
            "04010014|C:\\App\\a.dll||5\n");
  EXPECT_EQ(logfmt::EventLine(0x01000002, 0, nullptr), "01000002\n");
  // A null argument array still writes one "|" per argument.
  EXPECT_EQ(logfmt::EventLine(0x0100000A, 2, nullptr), "0100000A||\n");
  const char* empty[] = {""};
  EXPECT_EQ(logfmt::EventLine(0xC7AA000A, 1, empty), "C7AA000A|\n");
}

TEST(LogFormat, TraceLineLayoutFollowsWhatIsSet) {
  struct Case {
    TracePosition at;
    const char* text;
    const char* line;
  } cases[] = {
      {{true, 2, true, 17, 240}, "copied", "[Info]\tcopied @ 17(240)\n"},
      // A level without a position still prints the (cleared) position.
      {{true, 4, false, 0, 0}, "failed", "[Error]\tfailed @ 0(0)\n"},
      {{false, 0, true, 4000000000u, 7}, "x", "x @ 4000000000(7)\n"},
      {{}, "plain", "plain\n"},
      {{true, 1, true, 1, 1}, "t", "[Trace]\tt @ 1(1)\n"},
      {{true, 3, true, 1, 1}, "w", "[Warn]\tw @ 1(1)\n"},
      {{true, 5, true, 1, 1}, "f", "[Fatal]\tf @ 1(1)\n"},
      {{true, 9, true, 1, 1}, "f", "[Fatal]\tf @ 1(1)\n"},
      {{true, 0, true, 1, 1}, "z", "[---]\tz @ 1(1)\n"},
      {{true, -3, true, 1, 1}, "z", "[---]\tz @ 1(1)\n"},
      // Trailing white space goes, leading and inner white space stays.
      {{}, "  a b \t\r\n \n", "  a b\n"},
      {{false, 0, true, 2, 3}, " \t\n", " @ 2(3)\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(logfmt::TraceLine(c.at, c.text), c.line) << c.text;
}

TEST(LogFormat, TraceTextIsCutTo1024Characters) {
  const std::string longText(3000, 'q');
  const std::string line = logfmt::TraceLine(TracePosition(), longText.c_str());
  EXPECT_EQ(line, std::string(1024, 'q') + "\n");
  // Cutting first can leave white space at the end, which then goes too.
  const std::string spaced = std::string(1020, 'q') + std::string(10, ' ') + "r";
  EXPECT_EQ(logfmt::TraceLine(TracePosition(), spaced.c_str()),
            std::string(1020, 'q') + "\n");
}

TEST(LogFormat, HeaderIsFourLinesBetweenSeparators) {
  const std::string header = logfmt::HeaderText();
  const std::string sep = std::string(78, '=') + "\n";
  ASSERT_EQ(header.compare(0, sep.size(), sep), 0);
  ASSERT_GE(header.size(), 2 * sep.size());
  EXPECT_EQ(header.substr(header.size() - sep.size()), sep);
  EXPECT_NE(header.find(
                "\nBrannoc Installer 2.67.1412 (build 2003.11.12.1559)\n"),
            std::string::npos);
  size_t lines = 0;
  for (char c : header) lines += c == '\n';
  EXPECT_EQ(lines, 4u);
  EXPECT_EQ(header.find('\r'), std::string::npos);

  EXPECT_EQ(logfmt::TimeStampLine(2003, 1, 2, 3, 4, 5, "C:\\S\\Setup.exe"),
            "2003-01-02 03:04:05 - C:\\S\\Setup.exe\n");
}

TEST(LogFormat, LogNameReplacesTheExecutablesExtension) {
  EXPECT_EQ(logfmt::LogFileNameFor("C:\\Program Files\\App\\Setup.exe"),
            "Setup.log");
  EXPECT_EQ(logfmt::LogFileNameFor("C:\\my.dir\\setup"), "setup.log");
  EXPECT_EQ(logfmt::LogFileNameFor("/opt/x/kvzpack.v2.bin"), "kvzpack.v2.log");
  EXPECT_EQ(logfmt::LogFileNameFor("Setup.EXE"), "Setup.log");
}

TEST(LogFormat, OnlyLogsBeyond64KiBAreReplaced) {
  EXPECT_FALSE(logfmt::ShouldReplaceExistingLog(0));
  EXPECT_FALSE(logfmt::ShouldReplaceExistingLog(60000));
  EXPECT_FALSE(logfmt::ShouldReplaceExistingLog(65536));
  EXPECT_TRUE(logfmt::ShouldReplaceExistingLog(65537));
  EXPECT_TRUE(logfmt::ShouldReplaceExistingLog(70000));
  // A 4 GB file, whose low 32 bits alone would look small.
  EXPECT_TRUE(logfmt::ShouldReplaceExistingLog(0x100000010ull));
}
