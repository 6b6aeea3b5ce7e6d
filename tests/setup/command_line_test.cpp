// Splitting the process command line and reading setup's switches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/app/command_line.h"

namespace {

using Args = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Args expected;
};

TEST(SplitArguments, WhiteSpaceAndQuotes) {
  const SplitCase cases[] = {
      {"setup.exe /q", {"setup.exe", "/q"}},
      {"  setup.exe\t/q\r\n/b0 \v\f\bx", {"setup.exe", "/q", "/b0", "x"}},
      {"\"C:\\Program Files\\setup.exe\" /q", {"C:\\Program Files\\setup.exe", "/q"}},
      {"s '/install:C:\\My Apps' `x y`", {"s", "/install:C:\\My Apps", "x y"}},
      // Quoting only starts at the beginning of an argument.
      {"s /install:\"C:\\My Apps\"", {"s", "/install:\"C:\\My", "Apps\""}},
      // Another quote character inside is plain text; the closing one ends it.
      {"s \"it's\"next", {"s", "it's", "next"}},
      {"s \"unclosed text", {"s", "unclosed text"}},
      {"s \"\" x", {"s", "", "x"}},
      {"", {}},
      {"   ", {}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitArguments(c.line), c.expected) << c.line;
}

TEST(SplitArguments, KeepsAtMostSixtyThree) {
  std::string line = "setup.exe";
  for (int i = 1; i <= 80; ++i) line += " a" + std::to_string(i);
  const Args args = SplitArguments(line.c_str());
  ASSERT_EQ(args.size(), 63u);
  EXPECT_EQ(args.back(), "a62");
}

TEST(ArgumentsAfterProgram, SkipsTheNameAndSpace) {
  EXPECT_EQ(ArgumentsAfterProgram("setup.exe   /q /b0"), "/q /b0");
  EXPECT_EQ(ArgumentsAfterProgram("\"C:\\a b\\setup.exe\"\t'/install:C:\\x y'"), "'/install:C:\\x y'");
  EXPECT_EQ(ArgumentsAfterProgram("setup.exe"), "");
  EXPECT_EQ(ArgumentsAfterProgram(nullptr), "");
}

TEST(ReadSwitchNumber, SignDigitsAndStop) {
  EXPECT_EQ(ReadSwitchNumber("2"), 2);
  EXPECT_EQ(ReadSwitchNumber(" -3x"), -3);
  EXPECT_EQ(ReadSwitchNumber("+7"), 7);
  EXPECT_EQ(ReadSwitchNumber("x"), 0);
  EXPECT_EQ(ReadSwitchNumber(""), 0);
  EXPECT_EQ(ReadSwitchNumber("99999999999999999999"), 2147483647);
}

TEST(ParseCommandLine, Defaults) {
  const CommandLine c = ParseCommandLine("");
  EXPECT_EQ(c.restartMode, 1);
  EXPECT_EQ(c.quietLevel, 0);
  EXPECT_EQ(c.upgradeLevel, -1);
  EXPECT_EQ(c.runMode, kRunAuto);
  EXPECT_FALSE(c.rollback);
  EXPECT_TRUE(c.password.empty());
  EXPECT_TRUE(c.scriptPath.empty());
}

TEST(ParseCommandLine, Switches) {
  struct Case {
    const char* line;
    int quiet, restart, upgrade;
    RunMode mode;
    const char* folder;
    const char* previous;
    const char* password;
    bool rollback;
    const char* script;
  };
  const Case cases[] = {
      {"/q", 1, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/q2", 2, 1, -1, kRunAuto, "", "", "", false, ""},
      {"-Q0", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/Qx", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/q /q3", 3, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/B0", 0, 0, -1, kRunAuto, "", "", "", false, ""},
      {"/b", 0, 0, -1, kRunAuto, "", "", "", false, ""},
      {"-b2", 0, 2, -1, kRunAuto, "", "", "", false, ""},
      {"'/U1:Kelvo Old'", 0, 1, 1, kRunAuto, "", "Kelvo Old", "", false, ""},
      {"/u", 0, 1, 0, kRunAuto, "", "", "", false, ""},
      {"/u2", 0, 1, 2, kRunAuto, "", "", "", false, ""},
      {"/P:s3cret", 0, 1, -1, kRunAuto, "", "", "s3cret", false, ""},
      {"/Psecret", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/P:", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/x", 0, 1, -1, kRunAuto, "", "", "", true, ""},
      {"/install:C:\\Apps\\Tool", 0, 1, -1, kRunInstall, "C:\\Apps\\Tool", "", "", false, ""},
      {"'/install:C:\\My Apps'", 0, 1, -1, kRunInstall, "C:\\My Apps", "", "", false, ""},
      {"/INSTALLX", 0, 1, -1, kRunInstall, "", "", "", false, ""},
      {"/instal", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/remove", 0, 1, -1, kRunRemove, "", "", "", false, ""},
      {"-REMOVE", 0, 1, -1, kRunRemove, "", "", "", false, ""},
      {"/removed", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"/Register", 0, 1, -1, kRunRegister, "", "", "", false, ""},
      {"/remove /install", 0, 1, -1, kRunInstall, "", "", "", false, ""},
      {"/z /? /", 0, 1, -1, kRunAuto, "", "", "", false, ""},
      {"C:\\pkg\\data.kvz", 0, 1, -1, kRunAuto, "", "", "", false, "C:\\pkg\\data.kvz"},
      {"a.ini /q b.ini", 1, 1, -1, kRunAuto, "", "", "", false, "b.ini"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.line);
    const CommandLine c = ParseCommandLine(k.line);
    EXPECT_EQ(c.quietLevel, k.quiet);
    EXPECT_EQ(c.restartMode, k.restart);
    EXPECT_EQ(c.upgradeLevel, k.upgrade);
    EXPECT_EQ(c.runMode, k.mode);
    EXPECT_EQ(c.folderArgument, k.folder);
    EXPECT_EQ(c.previousUninstallName, k.previous);
    EXPECT_EQ(c.password, k.password);
    EXPECT_EQ(c.rollback, k.rollback);
    EXPECT_EQ(c.scriptPath, k.script);
  }
}

TEST(ParseCommandLine, ReadsSixtyTwoArgumentsAfterTheProgram) {
  std::string line;
  for (int i = 1; i <= 62; ++i) line += " x" + std::to_string(i) + ".ini";
  EXPECT_EQ(ParseCommandLine((line + " /q").c_str()).quietLevel, 0);
  EXPECT_EQ(ParseCommandLine(line.c_str()).scriptPath, "x62.ini");
}

}  // namespace
