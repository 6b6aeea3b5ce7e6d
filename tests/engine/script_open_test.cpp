#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "setup/app/setup_log.h"
#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script.h"
#include "setup/engine/script_open.h"
#include "setup/engine/symbol.h"

namespace {

std::string LogText() {
  SetupLog::Instance().Close();
  std::ifstream in(SetupLog::Instance().Path(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct Opened {
  SetupScript script;
  SymbolTable symbols{osflags::kWinXP};
  NoSymbolLookups lookups;
  ScriptSectionReaders readers;
  LoadedScript loaded;
  ScriptLoadFailure failure;
};

}  // namespace

// A rejected script leaves its reason, with the script's path, in the log.
TEST(ScriptOpen, RejectionReasonReachesTheLog) {
  const std::string text =
      "Version=2.66\r\n[Symbols]\r\nAppTitle=2|255|T\r\nAppFolder=1|255|C:\\T\r\n";
  Opened o;
  EXPECT_FALSE(OpenScriptMemory("pkg\\Setup.ini", text.data(), text.size(), o.script, o.symbols,
                                o.lookups, o.readers, {}, &o.loaded, &o.failure));
  EXPECT_EQ(o.failure.error, ScriptLoadError::kWrongVersion);
  EXPECT_NE(LogText().find("script pkg\\Setup.ini rejected: Version is not 2.67.1412 (line 1): "
                           "2.66"),
            std::string::npos);

  Opened missing;
  EXPECT_FALSE(OpenScriptFile("/nonexistent/kv/Setup.ini", missing.script, missing.symbols,
                              missing.lookups, missing.readers, {}, &missing.loaded,
                              &missing.failure));
  EXPECT_EQ(missing.failure.error, ScriptLoadError::kUnreadable);
  EXPECT_NE(LogText().find("/nonexistent/kv/Setup.ini rejected: the script cannot be read"),
            std::string::npos);
}

TEST(ScriptOpen, GoodScriptLoads) {
  const std::string text =
      "Version=2.67.1412\r\n[Symbols]\r\nAppTitle=2|255|T\r\nAppFolder=1|255|C:\\T\r\n";
  Opened o;
  EXPECT_TRUE(OpenScriptMemory("Setup.ini", text.data(), text.size(), o.script, o.symbols,
                               o.lookups, o.readers, {}, &o.loaded, &o.failure));
  EXPECT_EQ(o.loaded.windowTitle, "T ");
  EXPECT_EQ(o.failure.error, ScriptLoadError::kNone);
}
