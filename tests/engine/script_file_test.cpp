#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/script_test_util.h"
#include "setup/engine/script.h"
#include "setup/engine/script_io.h"

using scripttest::Parse;
using scripttest::Structure;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TempPath(const char* name) {
  const char* dir = getenv("TEMP");
  if (!dir) dir = getenv("TMPDIR");
  std::string base = dir ? dir : "/tmp";
#ifdef _WIN32
  return base + "\\" + name;
#else
  return base + "/" + name;
#endif
}

}  // namespace

// The file reader cuts, drops and counts lines as the line interface does.
TEST(ScriptFile, MemoryReaderMatchesTheLineInterface) {
  const std::string text = std::string(scripttest::kSampleScript) + "x=" + std::string(5000, 'y') +
                           "\r\n\r\n[S]\r\na\rb=c\nlast";
  SetupScript viaLines, viaReader;
  Parse(viaLines, text);
  LoadScriptMemory(viaReader, text.data(), text.size());
  EXPECT_EQ(Structure(viaReader), Structure(viaLines));
  ASSERT_NE(viaReader.FindGroup("tool.exe")->FindSection("S"), nullptr);
  EXPECT_EQ(viaReader.FindGroup("tool.exe")->FindSection("S")->line,
            viaLines.FindGroup("tool.exe")->FindSection("S")->line);
}

// Changed items keep their place, new ones go to the end of their section,
// and the saved file reads back as the same structure.
TEST(ScriptFile, ChangesInPlaceAndRoundTripsThroughAFile) {
  SetupScript s;
  Parse(s, scripttest::kSampleScript);
  s.Section("Files")->SetText("InstallDir", "C:\\Program Files\\Tool");
  s.Section("Files")->SetInt("ID", 7);
  s.Section("Install", true)->SetText("Timestamp", "2004-01-02 03:04:05");
  s.FindGroup("Registry")->leading.Append("", "added");

  const std::string path = TempPath("kv_script_save_test.ini");
  ASSERT_TRUE(SaveScriptFile(s, path.c_str()));
  const std::string bytes = ReadFile(path);
  EXPECT_NE(bytes.find("[Files] ; main program\r\nInstallDir=C:\\Program Files\\Tool\r\n"
                       "File=tool.exe|100|3|2|0|0=tool.exe|0|-1|247|32||\r\nID=7\r\n"),
            std::string::npos);
  // A new section of group 0 ends group 0.
  EXPECT_NE(bytes.find("=   indented\r\n\r\n[Install]\r\nTimestamp=2004-01-02 03:04:05\r\n"
                       "\r\n[[Registry]]\r\nREGEDIT4\r\n=added\r\n"),
            std::string::npos);

  SetupScript back;
  ASSERT_TRUE(LoadScriptFile(back, path.c_str()));
  EXPECT_EQ(Structure(back), Structure(s));
  EXPECT_EQ(back.ToText(), bytes);
  std::remove(path.c_str());
}

TEST(ScriptFile, LoadAndSaveFailuresAreReported) {
  SetupScript s;
  Parse(s, scripttest::kSampleScript);
  const std::string missingDir = TempPath("kv_no_such_dir_7f3a") + "/Setup.ini";
  EXPECT_FALSE(SaveScriptFile(s, missingDir.c_str()));
  EXPECT_FALSE(LoadScriptFile(s, missingDir.c_str()));
  EXPECT_EQ(Structure(s), "G0\n");  // a failed load leaves no stale content
}
