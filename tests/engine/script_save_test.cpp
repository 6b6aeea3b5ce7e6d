#include <gtest/gtest.h>

#include "engine/script_test_util.h"
#include "setup/engine/script.h"

using scripttest::Parse;
using scripttest::Structure;

TEST(ScriptSave, WritesTheDocumentedLayout) {
  SetupScript s;
  Parse(s, scripttest::kSampleScript);
  EXPECT_EQ(s.ToText(),
            "Version=2.67.1412\r\n"
            "; built by hand\r\n"
            "\r\n"
            "[Symbols]\r\n"
            "AppTitle=2|255|Tool\r\n"
            "AppFolder=1|255|<ProgramFiles>\\Tool\r\n"
            "\r\n"
            "[Empty]\r\n"
            "[Files] ; main program\r\n"
            "InstallDir=<AppFolder>\r\n"
            "File=tool.exe|100|3|2|0|0=tool.exe|0|-1|247|32||\r\n"
            "\r\n"
            "[Readme]\r\n"
            "=First line\r\n"
            "=   indented\r\n"
            "\r\n"
            "[[Registry]]\r\n"
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tool]\r\n"
            "\"Language\"=\"English\"\r\n"
            "\r\n"
            "[[tool.exe]]\r\n");
}

// Odd but legal lines survive a save: long lines cut on reading, headers
// without ']', bare keys, empty keys and values, values full of '='.
TEST(ScriptSave, RoundTripKeepsOddLines) {
  const std::string longHeader = "[" + std::string(5000, 'h');
  const std::string text = "=\n" + longHeader + "\n[[g\n==x=\nk=\n[]\n" +
                           std::string(4094, 'a') + "=b\n  x y  = z \n";
  SetupScript s;
  Parse(s, text);
  SetupScript back;
  const std::string saved = s.ToText();
  Parse(back, saved);
  EXPECT_EQ(Structure(back), Structure(s));
  EXPECT_EQ(back.ToText(), saved);
}

