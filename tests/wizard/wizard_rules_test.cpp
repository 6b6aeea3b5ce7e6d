// The wizard's decisions: "%s" filling, kilobytes, the Browse rule and the
// requirement check with the exact text of message 138.
#include <gtest/gtest.h>

#include "setup/engine/install_options.h"
#include "setup/ui/wizard_rules.h"

namespace {

TEST(WizardText, FillsEachPlaceholderInOrderAndNeverReadsPastTheArguments) {
  EXPECT_EQ(FillText("%s and %s", {"a", "b"}), "a and b");
  EXPECT_EQ(FillText("100%% of %s", {"x"}), "100% of x");
  EXPECT_EQ(FillText("%s %s %s", {"only"}), "only  ");
  EXPECT_EQ(FillText("%d stays", {"x"}), "%d stays");
}

TEST(WizardText, KilobytesRoundUp) {
  const struct { uint64_t bytes; const char* text; } cases[] = {
      {0, "0 KB"}, {1, "1 KB"}, {1024, "1 KB"}, {1025, "2 KB"}, {10240000, "10000 KB"},
      {uint64_t(5) << 32, "20971520 KB"}};
  for (const auto& c : cases) EXPECT_EQ(KilobyteText(c.bytes), c.text) << c.bytes;
}

TEST(WizardBrowse, AddsTheDefaultFoldersLastComponentUnlessPresent) {
  const std::string def = "C:\\Program Files\\Maker\\Tool";
  EXPECT_EQ(BrowsedFolder("D:\\Apps", def), "D:\\Apps\\Tool");
  EXPECT_EQ(BrowsedFolder("D:\\tool", def), "D:\\tool");
  EXPECT_EQ(BrowsedFolder("D:\\", def), "D:\\Tool");
  EXPECT_EQ(BrowsedFolder("D:\\Apps", ""), "D:\\Apps");
}

InstallSettings Settings(const char* hardware, const char* software, int32_t ie) {
  InstallSettings s;
  s.hardware = hardware;
  s.software = software;
  s.ie = ie;
  return s;
}

SystemMeasure System(int cls, int level, int w, int h, int bits, uint32_t browser = 0x60000) {
  SystemMeasure m;
  m.systemClass = cls;
  m.serviceLevel = level;
  m.systemName = "Windows XP Service Pack 2 (5.1.2600)";
  m.width = w;
  m.height = h;
  m.colourBits = bits;
  m.browser = browser;
  return m;
}

TEST(WizardRequirements, DisplayServiceLevelAndBrowser) {
  const struct {
    const char* hardware;
    const char* software;
    int32_t ie;
    SystemMeasure system;
    bool passes;
  } cases[] = {
      {"640|480|4", "", 0, System(5, 0, 800, 600, 16), true},
      {"640|480|4", "", 0, System(5, 0, 640, 480, 4), true},
      {"640|480|4", "", 0, System(5, 0, 640, 400, 32), false},
      {"640|480", "", 0, System(5, 0, 1, 1, 1), true},  // fewer than 3 fields: no minimum
      {"", "0|0|0|0|0|2|0", 0, System(5, 1, 800, 600, 16), false},
      {"", "0|0|0|0|0|2|0", 0, System(5, 2, 800, 600, 16), true},
      {"", "0|0|0|0|0|-1|0", 0, System(5, 3, 800, 600, 16), false},
      {"", "0|0|0|0|0|2", 0, System(5, 0, 800, 600, 16), true},  // 6 fields: ignored
      {"", "", 0, System(-1, 0, 800, 600, 16), false},           // unknown system
      {"", "", 0x50032, System(5, 0, 800, 600, 16, 0x50001), false},
      {"", "", 0x50001, System(5, 0, 800, 600, 16, 0x50001), true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MeetsRequirements(ReadRequirements(Settings(c.hardware, c.software, c.ie)), c.system), c.passes)
        << c.hardware << " / " << c.software << " / " << c.ie;
}

const char kMessage138[] =
    "Your system has the following characteristics:\n\nSystem version:\t%s\nInternet Explorer:\t%s\n"
    "Display settings:\t%s\n\n%s has the following minimum requirements:\n\nSystem version:\t%s\n"
    "Internet Explorer:\t%s\nDisplay settings:\t%s\n\nThe application cannot be installed on this "
    "system.\nPlease contact the application vendor for further information.";

TEST(WizardRequirements, MessageNamesBothSidesExactly) {
  const Requirements r = ReadRequirements(Settings("1024|768|24", "0|0|0|0|0|2|0", 0x50032));
  const std::string text = RequirementsMessage(kMessage138, "Tool 1.0", r, System(5, 1, 800, 600, 16, 0x60000),
                                               "This Windows version is not supported");
  EXPECT_EQ(text,
            "Your system has the following characteristics:\n\nSystem version:\tWindows XP Service Pack 2 "
            "(5.1.2600)\nInternet Explorer:\t6.00\nDisplay settings:\t800 x 600 x 16\n\nTool 1.0 has the "
            "following minimum requirements:\n\nSystem version:\tWindows XP SP 2\nInternet Explorer:\t5.50\n"
            "Display settings:\t1024 x 768 x 24\n\nThe application cannot be installed on this system.\n"
            "Please contact the application vendor for further information.");
}

TEST(WizardRequirements, ExcludedOrUnknownSystemsGetTheUnsupportedText) {
  const Requirements r = ReadRequirements(Settings("", "-1|0|0|0|0|0|0", 0));
  const std::string excluded = RequirementsMessage("%s|%s|%s|%s|%s|%s|%s", "T", r, System(0, 0, 1, 2, 3, 0x40000), "N/A");
  EXPECT_EQ(excluded, "Windows XP Service Pack 2 (5.1.2600)|4.00|1 x 2 x 3|T|N/A|0.00|0 x 0 x 0");
  const std::string later = RequirementsMessage("%s|%s|%s|%s|%s", "T", r, System(6, 0, 1, 2, 3), "N/A");
  EXPECT_EQ(later.substr(later.rfind('|') + 1), "Windows Future");
}

}  // namespace
