// The kvzpack program as users and scripts meet it: its output, its one-line
// errors and its exit codes.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>

#include "kvzpack/kvzpack_test_support.h"
#include "tools/kvzpack/exit_codes.h"

using namespace kvzpack;
using namespace kvzpack_test;

namespace {

struct RunResult {
  int code;
  std::string output;  // stdout and stderr together
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

RunResult Kvzpack(const std::vector<std::string>& args) {
  std::string command = Quote(KVZPACK_EXE);
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " 2>&1";
  RunResult run{-1, ""};
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

size_t Lines(const std::string& text) {
  size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::vector<uint8_t> MzStub() {
  std::vector<uint8_t> stub(0x400, 0xCC);
  stub[0] = 'M';
  stub[1] = 'Z';
  return stub;
}

// A scratch folder with three input files and a stub.
class KvzpackCli : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "Setup.ini", Bytes("[Install]\nOptions=20698\n"));
    WriteFile(dir / "lang.lng", RandomBytes(3, 50000));
    WriteFile(dir / "empty", {});
    WriteFile(dir / "setup.exe", MzStub());
    struct timespec times[2] = {{0, UTIME_OMIT}, {1083827289, 0}};
    ::utimensat(AT_FDCWD, (dir / "lang.lng").c_str(), times, 0);
  }

  std::vector<std::string> Entries() const {
    return {"Setup.ini=" + (dir / "Setup.ini"), "0001\\F7\\lang.lng=" + (dir / "lang.lng"),
            "0001\\F7\\empty=" + (dir / "empty")};
  }

  RunResult Pack(const std::string& out, std::vector<std::string> options) {
    std::vector<std::string> args = {"pack", "--out", out};
    args.insert(args.end(), options.begin(), options.end());
    for (const std::string& e : Entries()) args.push_back(e);
    return Kvzpack(args);
  }

  ScratchDir dir;
};

}  // namespace

TEST_F(KvzpackCli, PackListTestExtractStandAloneAndStamped) {
  struct Case {
    const char* what;
    std::vector<std::string> options;
    std::vector<std::string> password;
  } cases[] = {
      {"kvz2", {}, {}},
      {"kvz1", {"--format", "kvz1"}, {}},
      {"encrypted stamped", {"--stub", dir / "setup.exe", "--password", "pw", "--hide-password"},
       {"--password", "pw"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = dir / "out.bin";
    RunResult run = Pack(out, c.options);
    ASSERT_EQ(run.code, kExitOk) << run.output;

    std::vector<std::string> args = {"list", out};
    args.insert(args.end(), c.password.begin(), c.password.end());
    run = Kvzpack(args);
    ASSERT_EQ(run.code, kExitOk) << run.output;
    EXPECT_EQ(Lines(run.output), 3u) << run.output;
    EXPECT_NE(run.output.find("0001\\F7\\lang.lng\t50000\t2004-05-06T07:08:09Z\t0.0.0.0\t0x0020\n"),
              std::string::npos)
        << run.output;

    args[0] = "test";
    run = Kvzpack(args);
    EXPECT_EQ(run.code, kExitOk) << run.output;
    EXPECT_NE(run.output.find("OK, 3 entries"), std::string::npos) << run.output;

    const std::string target = dir / "x";
    args = {"extract", out, target};
    args.insert(args.end(), c.password.begin(), c.password.end());
    run = Kvzpack(args);
    ASSERT_EQ(run.code, kExitOk) << run.output;
    EXPECT_TRUE(ReadFile(target + "/0001/F7/lang.lng") == ReadFile(dir / "lang.lng"));
    EXPECT_TRUE(ReadFile(target + "/Setup.ini") == ReadFile(dir / "Setup.ini"));
    EXPECT_TRUE(ReadFile(target + "/0001/F7/empty").empty());
    struct stat st;
    ASSERT_EQ(::stat((target + "/0001/F7/lang.lng").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1083827289);
  }
}

TEST_F(KvzpackCli, SameCommandWritesTheSameBytes) {
  ASSERT_EQ(Pack(dir / "a", {"--password", "pw"}).code, kExitOk);
  ASSERT_EQ(Pack(dir / "b", {"--password", "pw"}).code, kExitOk);
  EXPECT_TRUE(ReadFile(dir / "a") == ReadFile(dir / "b"));
}

// Damage of each kind gets its own exit code and a one-line reason.
TEST_F(KvzpackCli, TestNamesWhatIsWrong) {
  ASSERT_EQ(Pack(dir / "p.kvz", {"--password", "pw"}).code, kExitOk);
  ASSERT_EQ(Pack(dir / "a.kvz", {}).code, kExitOk);
  ASSERT_EQ(Pack(dir / "s.exe", {"--stub", dir / "setup.exe"}).code, kExitOk);
  const std::vector<uint8_t> plain = ReadFile(dir / "a.kvz");
  const std::vector<uint8_t> stamped = ReadFile(dir / "s.exe");

  std::vector<uint8_t> flipped = plain;
  flipped[plain.size() / 2] ^= 0x10;
  WriteFile(dir / "flipped.kvz", flipped);
  WriteFile(dir / "cut.kvz", std::vector<uint8_t>(plain.begin(), plain.end() - 100));
  WriteFile(dir / "cut.exe", std::vector<uint8_t>(stamped.begin(), stamped.end() - 1));
  std::vector<uint8_t> badCheck = plain;
  badCheck[9] ^= 1;
  WriteFile(dir / "check.kvz", badCheck);

  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{"test", dir / "p.kvz"}, kExitNeedsPassword, "encrypted"},
      {{"test", dir / "p.kvz", "--password", "PW"}, kExitWrongPassword, "wrong password"},
      {{"test", dir / "flipped.kvz"}, kExitDamaged, "damaged"},
      {{"test", dir / "cut.kvz"}, kExitDamaged, "truncated"},
      {{"test", dir / "cut.exe"}, kExitDamaged, "truncated"},
      {{"test", dir / "check.kvz"}, kExitDamaged, "check block"},
      {{"test", dir / "setup.exe"}, kExitNoArchive, "no stamp"},
      {{"test", dir / "Setup.ini"}, kExitNoArchive, "no archive"},
      {{"test", dir / "nothing"}, kExitInput, "No such file"},
      {{"list", dir / "p.kvz", "--password", "PW"}, kExitWrongPassword, "wrong password"},
  };
  for (const Case& c : cases) {
    const RunResult run = Kvzpack(c.args);
    EXPECT_EQ(run.code, c.code) << c.args[1] << ": " << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.args[1] << ": " << run.output;
    EXPECT_EQ(Lines(run.output), 1u) << run.output;
  }
  EXPECT_EQ(Kvzpack({"test", dir / "p.kvz", "--password", "pw"}).code, kExitOk);
}

TEST_F(KvzpackCli, ExtractRefusesNamesLeavingTheFolderAndWritesNothing) {
  for (const char* evil : {"..\\evil", "C:\\evil", "\\evil", "a\\..\\..\\evil"}) {
    const std::string out = dir / "evil.kvz";
    ASSERT_EQ(Kvzpack({"pack", "--out", out, "good=" + (dir / "Setup.ini"),
                       std::string(evil) + "=" + (dir / "Setup.ini")})
                  .code,
              kExitOk);
    const RunResult run = Kvzpack({"extract", out, dir / "target"});
    EXPECT_EQ(run.code, kExitUnsafeName) << evil << ": " << run.output;
    EXPECT_NE(run.output.find("refusing"), std::string::npos) << run.output;
    struct stat st;
    EXPECT_NE(::stat((dir / "target").c_str(), &st), 0) << "nothing extracted for " << evil;
    EXPECT_NE(::stat((dir / "evil").c_str(), &st), 0);
  }
  ASSERT_EQ(Pack(dir / "a.kvz", {}).code, kExitOk);
  const RunResult run = Kvzpack({"extract", dir / "a.kvz", dir / "no/such/folder"});
  EXPECT_EQ(run.code, kExitOutput) << run.output;
  EXPECT_EQ(Lines(run.output), 1u) << run.output;
}

TEST_F(KvzpackCli, PackRefusesBadInputAndKeepsTheOldOutput) {
  WriteFile(dir / "keep", Bytes("old"));
  std::vector<uint8_t> stamped;
  ASSERT_EQ(Pack(dir / "s.exe", {"--stub", dir / "setup.exe"}).code, kExitOk);
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{"pack", "--out", dir / "keep", std::string(261, 'n') + "=" + (dir / "empty")}, kExitInput,
       "at most 260"},
      {{"pack", "--out", dir / "keep", "a=" + (dir / "missing")}, kExitInput, "missing"},
      {{"pack", "--out", dir / "keep", "--stub", dir / "Setup.ini", "a=" + (dir / "empty")},
       kExitInput, "no MZ header"},
      {{"pack", "--out", dir / "keep", "--stub", dir / "s.exe", "a=" + (dir / "empty")}, kExitInput,
       "already carries an archive"},
      {{"pack", "--out", dir / "keep", "--format", "kvz1", "--password", "x", "a=" + (dir / "empty")},
       kExitUsage, "kvz2"},
      {{"pack", "--out", dir / "keep", "--password", std::string(256, 'p'), "a=" + (dir / "empty")},
       kExitInput, "longer than 255"},
      {{"pack", "--out", dir / "no/such/folder", "a=" + (dir / "empty")}, kExitOutput,
       "No such file"},
      {{"pack", "--out", dir / "keep"}, kExitUsage, "nothing to pack"},
      {{"pack", "a=" + (dir / "empty")}, kExitUsage, "--out"},
      {{"pack", "--out", dir / "keep", "--bogus"}, kExitUsage, "unknown option"},
      {{"frobnicate"}, kExitUsage, "unknown command"},
  };
  for (const Case& c : cases) {
    const RunResult run = Kvzpack(c.args);
    EXPECT_EQ(run.code, c.code) << c.args.back() << ": " << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_EQ(Lines(run.output), 1u) << run.output;
    EXPECT_TRUE(ReadFile(dir / "keep") == Bytes("old"));
  }
  ASSERT_EQ(Kvzpack({"pack", "--out", dir / "ok", std::string(260, 'n') + "=" + (dir / "empty")}).code,
            kExitOk);
}

TEST_F(KvzpackCli, AttributesOptionAppliesToLaterEntries) {
  ASSERT_EQ(Kvzpack({"pack", "--out", dir / "a.kvz", "one=" + (dir / "empty"), "--attributes", "27",
                     "two=" + (dir / "empty"), "--attributes", "auto", "three=" + (dir / "empty")})
                .code,
            kExitOk);
  const RunResult run = Kvzpack({"list", dir / "a.kvz"});
  ASSERT_EQ(run.code, kExitOk);
  EXPECT_NE(run.output.find("one\t0\t"), std::string::npos);
  EXPECT_NE(run.output.find("0x0020\ntwo"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("0x0027\nthree"), std::string::npos) << run.output;

  // Extraction gives the read-only bit back as missing write permission.
  ASSERT_EQ(Kvzpack({"extract", dir / "a.kvz", dir / "x"}).code, kExitOk);
  struct stat st;
  ASSERT_EQ(::stat((dir / "x/two").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  ASSERT_EQ(::stat((dir / "x/one").c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0200, 0u);
}

TEST(KvzpackHelp, DocumentsEveryExitCode) {
  const RunResult run = Kvzpack({"--help"});
  EXPECT_EQ(run.code, kExitOk);
  for (int code = kExitOk; code <= kExitUnsafeName; ++code)
    EXPECT_NE(run.output.find("  " + std::to_string(code) + " "), std::string::npos) << code;
}
