#include "setup/app/setup_log.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_test_files.h"

using apptest::CountOf;
using apptest::EndsWith;
using apptest::ReadWholeFile;

namespace {

const std::string kSeparator = std::string(78, '=') + "\r\n";
const char kTitle[] = "Brannoc Installer 2.67.1412 (build 2003.11.12.1559)";

// Every test starts with the log closed and its file gone.
class SetupLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_.SetDeleteAtExit(false);
    log_.Close();
    path_ = apptest::TempFolder() + "app_wintests.log";
    DeleteFileA(path_.c_str());
  }
  void TearDown() override {
    log_.SetDeleteAtExit(false);
    log_.Close();
  }

  SetupLog& log_ = SetupLog::Instance();
  std::string path_;
};

}  // namespace

TEST_F(SetupLogTest, FirstEntryCreatesTheLogInTheTempFolderWithOneHeader) {
  ASSERT_TRUE(log_.Event(0x04010014, {"C:\\App\\a.dll", nullptr, "32"}));
  EXPECT_EQ(lstrcmpiA(log_.Path(), path_.c_str()), 0) << log_.Path();
  log_.SetLevel(kWarn);
  log_.SetSource(31, 415);
  log_.Trace("cannot open %s \t\n", "x.ini");
  log_.Trace("second line %d", 2);  // level and position were cleared

  const std::string text = ReadWholeFile(path_);
  ASSERT_EQ(text.compare(0, kSeparator.size(), kSeparator), 0) << text;
  EXPECT_EQ(CountOf(text, kTitle), 1u);
  EXPECT_EQ(CountOf(text, kSeparator), 2u);
  // Time stamp line: "yyyy-mm-dd hh:mm:ss - <module path>".
  const std::string stampTail = " - " + apptest::ModulePath() + "\r\n";
  const size_t stamp = text.find(stampTail);
  ASSERT_NE(stamp, std::string::npos) << text;
  ASSERT_GE(stamp, 19u);
  EXPECT_EQ(text[stamp - 19 + 4], '-');
  EXPECT_EQ(text[stamp - 19 + 10], ' ');
  EXPECT_EQ(text.substr(stamp + stampTail.size()),
            "04010014|C:\\App\\a.dll||32\r\n"
            "[Warn]\tcannot open x.ini @ 31(415)\r\n"
            "second line 2\r\n");
}

// The log of earlier runs is kept up to 64 KiB and started afresh beyond.
TEST_F(SetupLogTest, ExistingLogIsAppendedToUpTo64KiBAndReplacedBeyond) {
  struct Case {
    size_t size;
    bool kept;
  } cases[] = {{60000, true}, {65536, true}, {70000, false}};
  for (const Case& c : cases) {
    log_.Close();
    const std::string old(c.size, 'o');
    apptest::WriteWholeFile(path_, old);
    ASSERT_TRUE(log_.Event(0x01000005));
    const std::string text = ReadWholeFile(path_);
    EXPECT_EQ(CountOf(text, kTitle), 1u) << c.size;
    EXPECT_EQ(text.compare(0, old.size(), old) == 0, c.kept) << c.size;
    const size_t header = c.kept ? old.size() : 0;
    EXPECT_EQ(text.compare(header, kSeparator.size(), kSeparator), 0) << c.size;
    EXPECT_TRUE(EndsWith(text, "01000005\r\n")) << c.size;
  }
}

// A log another process holds costs only the entries written meanwhile.
TEST_F(SetupLogTest, EntriesAreDroppedWhileTheFileIsLockedThenItOpens) {
  HANDLE locked = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(log_.Event(0x01000008, {"dropped"}));
  log_.SetLevel(kError);
  log_.Trace("also dropped");
  CloseHandle(locked);

  ASSERT_TRUE(log_.Event(0x01000009));
  log_.Trace("kept");
  const std::string text = ReadWholeFile(path_);
  EXPECT_EQ(CountOf(text, kTitle), 1u);
  EXPECT_EQ(text.find("dropped"), std::string::npos);
  // The level set for the dropped line does not leak into the next one.
  EXPECT_TRUE(EndsWith(text, "01000009\r\nkept\r\n")) << text;
}

TEST_F(SetupLogTest, ReadersCanOpenTheLogWhileItIsWritten) {
  ASSERT_TRUE(log_.Event(0x0100000A, {"App 1.0"}));
  HANDLE reader = CreateFileA(path_.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  EXPECT_NE(ReadWholeFile(path_).find("0100000A|App 1.0\r\n"),
            std::string::npos);
}

TEST_F(SetupLogTest, DeleteAtExitRemovesTheFileOnClose) {
  ASSERT_TRUE(log_.Event(0x01000001, {"x"}));
  log_.SetDeleteAtExit(true);
  ASSERT_TRUE(apptest::FileExists(path_));
  log_.Close();
  EXPECT_FALSE(apptest::FileExists(path_));
}

TEST_F(SetupLogTest, ExtensionStyleArgumentArrays) {
  const char* argv[] = {"C:\\x\\_Setupx.dll", nullptr};
  ASSERT_TRUE(log_.Event(0x04040001, 2, argv));
  ASSERT_TRUE(log_.Event(0x04040002, 0, nullptr));
  const std::string text = ReadWholeFile(path_);
  EXPECT_TRUE(
      EndsWith(text, "04040001|C:\\x\\_Setupx.dll|\r\n04040002\r\n"))
      << text;
}
