// The App Paths entry: written with long paths on NT, short on 9x, and
// removed only when it still points at the removed program.
#include <gtest/gtest.h>

#include <string>

#include "registry_fake.h"
#include "setup/engine/app_paths.h"

namespace {

using kvtest::FakeRegistry;

constexpr RegRoot kLM = RegRoot::kLocalMachine;
const std::string kKey = std::string(kAppPathsKey) + "\\Kelvo Lite.exe";
const std::string kExe = "C:\\Program Files\\Quorlan Soft\\Kelvo Lite.exe";

std::string FakeShort(const std::string& path) {
  if (path == kExe) return "C:\\PROGRA~1\\QUORLA~1\\KELVOL~1.EXE";
  if (path == "C:\\Program Files\\Quorlan Soft") return "C:\\PROGRA~1\\QUORLA~1";
  if (path == "C:\\WINDOWS") return "C:\\WINDOWS";
  return "";
}

TEST(AppPaths, LongOnNtShortOn9x) {
  FakeRegistry reg;
  ASSERT_TRUE(RegisterAppPaths(reg, kExe, "C:\\Program Files\\Quorlan Soft", nullptr));
  EXPECT_EQ(reg.Text(kLM, kKey, ""), kExe);
  EXPECT_EQ(reg.Text(kLM, kKey, "Path"), "C:\\Program Files\\Quorlan Soft");

  FakeRegistry reg9x;
  ASSERT_TRUE(RegisterAppPaths(reg9x, kExe, "C:\\Program Files\\Quorlan Soft;C:\\WINDOWS",
                               FakeShort));
  EXPECT_EQ(reg9x.Text(kLM, kKey, ""), "C:\\PROGRA~1\\QUORLA~1\\KELVOL~1.EXE");
  EXPECT_EQ(reg9x.Text(kLM, kKey, "Path"), "C:\\PROGRA~1\\QUORLA~1;C:\\WINDOWS");
  // A folder without a short form: the list as given.
  ASSERT_TRUE(RegisterAppPaths(reg9x, kExe, "C:\\Program Files\\Quorlan Soft;D:\\Gone",
                               FakeShort));
  EXPECT_EQ(reg9x.Text(kLM, kKey, "Path"), "C:\\Program Files\\Quorlan Soft;D:\\Gone");
  // No list: no Path value.
  ASSERT_TRUE(RegisterAppPaths(reg9x, kExe, "", FakeShort));
  EXPECT_EQ(reg9x.Get(kLM, kKey, "Path"), nullptr);
}

TEST(AppPaths, RemovedOnlyWhenItIsOurs) {
  FakeRegistry reg;
  reg.PutString(kLM, kAppPathsKey, "", "");
  ASSERT_TRUE(RegisterAppPaths(reg, kExe, "", nullptr));
  EXPECT_FALSE(RemoveAppPathsEntry(reg, "D:\\Elsewhere\\Kelvo Lite.exe", ""));
  EXPECT_FALSE(RemoveAppPathsEntry(reg, "C:\\Program Files\\Quorlan Soft\\lang.lng", ""));
  EXPECT_TRUE(reg.Has(kLM, kKey));
  EXPECT_TRUE(RemoveAppPathsEntry(reg, "c:\\program files\\quorlan soft\\kelvo lite.EXE", ""));
  EXPECT_FALSE(reg.Has(kLM, kKey));
  EXPECT_TRUE(reg.Has(kLM, kAppPathsKey));

  // Registered short on 9x, matched by the file's short path.
  ASSERT_TRUE(RegisterAppPaths(reg, kExe, "", FakeShort));
  EXPECT_TRUE(RemoveAppPathsEntry(reg, kExe, FakeShort(kExe)));
  EXPECT_FALSE(reg.Has(kLM, kKey));
}

}  // namespace
