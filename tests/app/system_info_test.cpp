#include "setup/app/system_info.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct VersionCase {
  const char* what;
  uint32_t major, minor, build, platform;
  const char* service;
  int systemClass;
  int serviceLevel;
  const char* displayName;
  const char* logText;
};

const VersionCase kVersions[] = {
    {"95", 4, 0, 0x040003B5, 1, "", 0, 0, "Windows 95 (4.0.949)",
     "Windows 4.0.949 "},
    {"98 SE", 4, 10, 0x040A08AE, 1, " A ", 1, 1, "Windows 98 A  (4.10.2222)",
     "Windows 4.10.2222  A "},
    {"Me as 4.10.3000", 4, 10, 0x040A0BB8, 1, " ", 2, 0,
     "Windows Me  (4.90.3000)", "Windows 4.90.3000  "},
    {"Me", 4, 90, 0x045A0BB8, 1, " ", 2, 0, "Windows Me  (4.90.3000)",
     "Windows 4.90.3000  "},
    {"9x other", 4, 3, 1, 1, " C", -1, 3, "Windows ?  C (4.3.1)",
     "Windows 4.3.1  C"},
    {"NT 3.51", 3, 51, 1057, 2, "Service Pack 5", -1, 5,
     "Windows NT Service Pack 5 (3.51.1057)",
     "Windows NT 3.51.1057 Service Pack 5"},
    {"NT 4 SP6", 4, 0, 1381, 2, "Service Pack 6", 3, 6,
     "Windows NT Service Pack 6 (4.0.1381)",
     "Windows NT 4.0.1381 Service Pack 6"},
    {"NT 4 SP6a", 4, 0, 1381, 2, "Service Pack 6a", 3, 6,
     "Windows NT Service Pack 6a (4.0.1381)",
     "Windows NT 4.0.1381 Service Pack 6a"},
    {"2000 SP4", 5, 0, 2195, 2, "Service Pack 4", 4, 4,
     "Windows 2000 Service Pack 4 (5.0.2195)",
     "Windows NT 5.0.2195 Service Pack 4"},
    {"XP", 5, 1, 2600, 2, "", 5, 0, "Windows XP  (5.1.2600)",
     "Windows NT 5.1.2600 "},
    {"XP SP2", 5, 1, 2600, 2, "Service Pack 2", 5, 2,
     "Windows XP Service Pack 2 (5.1.2600)",
     "Windows NT 5.1.2600 Service Pack 2"},
    {"2003", 5, 2, 3790, 2, "Service Pack 2", 6, 2,
     "Windows ? Service Pack 2 (5.2.3790)",
     "Windows NT 5.2.3790 Service Pack 2"},
    {"7", 6, 1, 7601, 2, "Service Pack 1", 6, 1,
     "Windows NT Service Pack 1 (6.1.7601)",
     "Windows NT 6.1.7601 Service Pack 1"},
    // The NT build is not cut in the log line, only in the display name.
    {"big build", 10, 0, 0x12345, 2, "", 6, 0, "Windows NT  (10.0.9029)",
     "Windows NT 10.0.74565 "},
    // Beta strings that are not "Service Pack N" give level 0.
    {"NT beta", 5, 1, 2505, 2, "RC 1", 5, 0, "Windows XP RC 1 (5.1.2505)",
     "Windows NT 5.1.2505 RC 1"},
    {"Win32s", 3, 10, 0, 0, "", -1, 0, "Windows ?  (3.10.0)",
     "Windows 3.10.0 "},
};

}  // namespace

TEST(SystemInfo, VersionRecordsMapToClassLevelNameAndLogText) {
  for (const VersionCase& c : kVersions) {
    const WindowsVersion v =
        RecordWindowsVersion(c.major, c.minor, c.build, c.platform, c.service);
    EXPECT_EQ(SystemClassOf(v), c.systemClass) << c.what;
    EXPECT_EQ(ServiceLevelOf(v), c.serviceLevel) << c.what;
    EXPECT_EQ(SystemDisplayName(v), c.displayName) << c.what;
    EXPECT_EQ(WindowsVersionLogText(v), c.logText) << c.what;
    EXPECT_EQ(IsNtFamily(v), c.platform == 2) << c.what;
  }
}

TEST(SystemInfo, OnlyA9xBuild3000IsRecordedAsMe) {
  EXPECT_EQ(RecordWindowsVersion(4, 10, 0x040A0BB8, 1, "").minor, 90u);
  EXPECT_EQ(RecordWindowsVersion(4, 10, 2222, 1, "").minor, 10u);
  EXPECT_EQ(RecordWindowsVersion(4, 10, 3000, 2, "").minor, 10u);
}

TEST(SystemInfo, OverlongServiceStringsAreCutAndStillNamed) {
  const std::string longService(400, 'S');
  const WindowsVersion v =
      RecordWindowsVersion(5, 1, 2600, 2, longService.c_str());
  EXPECT_EQ(std::string(v.service), std::string(127, 'S'));
  // 8 + 3 + 127 characters leave well over 40 of 256 free.
  EXPECT_EQ(SystemDisplayName(v),
            "Windows XP " + std::string(127, 'S') + " (5.1.2600)");
}

TEST(SystemInfo, ServiceLevelReadsOnlyItsOwnPatterns) {
  struct Case {
    uint32_t platform;
    const char* service;
    int level;
  } cases[] = {
      {1, " B ", 2},  {1, "A", 0},           {1, " 1", 0},
      {1, "", 0},     {2, "Service Pack ", 0}, {2, "Service Pack 12", 12},
      {2, "service Pack 3", 0}, {2, "Service pack 3", 0},
      {2, "Service Pack 99999999999999", 99999},
  };
  for (const auto& c : cases) {
    const WindowsVersion v = RecordWindowsVersion(5, 0, 1, c.platform, c.service);
    EXPECT_EQ(ServiceLevelOf(v), c.level) << c.service;
  }
}
