#include <gtest/gtest.h>

#include "engine/script_test_util.h"
#include "setup/engine/expand.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script_load.h"
#include "setup/engine/symbol.h"

using scripttest::Parse;

namespace {

const char kGood[] =
    "Version=2.67.1412\n"
    "[Install]\n"
    "Options=2248\n"  // 0x8C8: uninstall entry, web site, e-mail, telephone
    "Ignore=4294967295\n"
    "[Symbols]\n"
    "AppTitle=2|255|Kelvo <Edition>\n"
    "Edition=-1|255|Lite\n"
    "AppVersion=3|255|1.0\n"
    "AppFolder=1|255|<%ProgramFiles>\\Kelvo\n"
    "WebSite=7|255|http://example.test/\n"
    "Email=6|255|support@example.test\n"
    "Telephone=66|255|+1 555 0100\n"
    "[Files]\nInstallDir=<AppFolder>\n"
    "[ShellLink]\nTitle=Kelvo\n"
    "[Files]\nInstallDir=<WinSysDir>\n"
    "[Action]\nTitle=Run\n"
    "[Languages]\n"
    "0409=1073745920|1|English|English|lang1033.dll||\n"  // 0x40001000
    "0407=1073741824|2|German|Deutsch|lang1031.dll|ReadmeDE|\n"
    "040C=0|3|too few\n"
    "[Extras]\nOptions=268435456\nDllPath=ext.dll\n"
    "[Readme]\n=Read me\n"
    "[License]\n=Licence text\n=second line\n";

class FakeLookups : public NoSymbolLookups {
 public:
  std::string Environment(const std::string& name) override {
    return name == "ProgramFiles" ? "C:\\Program Files" : "";
  }
};

// Records what the engine's section readers were given, in order; can
// reject one section.
class RecordingReaders : public ScriptSectionReaders {
 public:
  std::vector<std::string> seen;
  std::string rejectFiles;  // InstallDir value of the [Files] section to reject

  bool ReadFiles(ScriptSection& s, ScriptLoadFailure* f) override {
    seen.push_back("Files:" + s.GetText("InstallDir"));
    if (s.GetText("InstallDir") == rejectFiles) {
      f->detail = "File= line with too few fields";
      f->line = 99;
      return false;
    }
    return true;
  }
  bool ReadShellLink(ScriptSection& s, ScriptLoadFailure*) override {
    seen.push_back("ShellLink:" + s.GetText("Title"));
    return true;
  }
  bool ReadAction(ScriptSection& s, ScriptLoadFailure*) override {
    seen.push_back("Action:" + s.GetText("Title"));
    return true;
  }
};

struct Loaded {
  SetupScript script;
  SymbolTable symbols{osflags::kWinXP};
  FakeLookups lookups;
  RecordingReaders readers;
  LoadedScript result;
  ScriptLoadFailure failure;
  bool ok = false;

  explicit Loaded(const std::string& text, std::string rejectFiles = "") {
    readers.rejectFiles = std::move(rejectFiles);
    Parse(script, text);
    ok = ApplyScriptRules(script, symbols, lookups, readers,
                          [](uint16_t id) { return id == 0x0409; }, &result, &failure);
  }
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(ScriptLoad, GoodScriptGivesSettingsTitleAboutAndSections) {
  Loaded l(kGood);
  ASSERT_TRUE(l.ok) << DescribeScriptLoadFailure(l.failure);
  EXPECT_EQ(l.result.windowTitle, "Kelvo Lite 1.0");
  EXPECT_EQ(l.result.about.webSite, "http://example.test/\nhttp://example.test/");
  EXPECT_EQ(l.result.about.email, "support@example.test\nmailto:support@example.test");
  EXPECT_EQ(l.result.about.telephone, "+1 555 0100");
  EXPECT_TRUE(l.result.install.Has(kOptUninstallEntry));
  EXPECT_FALSE(l.result.install.Has(kOptNeedsAdmin));
  EXPECT_EQ(l.result.install.ignore, 0xFFFFFFFFu);
  EXPECT_FALSE(l.result.install.Stops(kErrorClassFiles));
  EXPECT_TRUE(l.result.install.Stops(kErrorClassFatal));  // never ignored
  EXPECT_EQ(l.result.extras.dllPath, "ext.dll");
  EXPECT_EQ(l.result.readme, "Read me\r\n");
  EXPECT_EQ(l.result.licence, "Licence text\r\nsecond line\r\n");
  EXPECT_EQ(l.readers.seen, (std::vector<std::string>{"Files:<AppFolder>", "Files:<WinSysDir>",
                                                      "ShellLink:Kelvo", "Action:Run"}));
}

TEST(ScriptLoad, AboutLinesOnlyWithTheirOptionBits) {
  Loaded l(Replace(kGood, "Options=2248", "Options=8"));
  ASSERT_TRUE(l.ok);
  EXPECT_EQ(l.result.about.webSite, "");
  EXPECT_EQ(l.result.about.email, "");
  EXPECT_EQ(l.result.about.telephone, "");
}

// Each way a script is rejected, with the reason and line the log gets.
TEST(ScriptLoad, EachFailureHasItsReason) {
  struct Case {
    const char* what;
    std::string text;
    ScriptLoadError error;
    uint32_t line;
  } cases[] = {
      {"no version", Replace(kGood, "Version=2.67.1412\n", ""), ScriptLoadError::kWrongVersion, 0},
      {"other version", Replace(kGood, "2.67.1412", "2.67.1411"),
       ScriptLoadError::kWrongVersion, 1},
      {"version with a blank", Replace(kGood, "=2.67.1412", "= 2.67.1412"),
       ScriptLoadError::kWrongVersion, 1},
      {"version in a section", "[Install]\n" + std::string(kGood),
       ScriptLoadError::kWrongVersion, 0},
      {"empty title", Replace(kGood, "2|255|Kelvo <Edition>", "2|255|<Missing>"),
       ScriptLoadError::kNoAppTitle, 6},
      {"title for 9x only", Replace(kGood, "2|255|Kelvo", "2|15|Kelvo"),
       ScriptLoadError::kNoAppTitle, 0},
      {"empty folder", Replace(kGood, "1|255|<%ProgramFiles>\\Kelvo", "1|255|<%Unset>"),
       ScriptLoadError::kNoAppFolder, 9},
      {"files without InstallDir", Replace(kGood, "InstallDir=<WinSysDir>", "ID=3"),
       ScriptLoadError::kFilesWithoutInstallDir, 17},
      {"shortcut without title", Replace(kGood, "Title=Kelvo", "Path=x"),
       ScriptLoadError::kShellLinkWithoutTitle, 15},
      {"action without title", Replace(kGood, "Title=Run", "Title="),
       ScriptLoadError::kActionWithoutTitle, 19},
  };
  for (const auto& c : cases) {
    Loaded l(c.text);
    EXPECT_FALSE(l.ok) << c.what;
    EXPECT_EQ(l.failure.error, c.error) << c.what;
    EXPECT_EQ(l.failure.line, c.line) << c.what;
  }

  Loaded bad(kGood, "<WinSysDir>");
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.failure.error, ScriptLoadError::kBadSection);
  EXPECT_EQ(DescribeScriptLoadFailure(bad.failure),
            "section cannot be read (line 99): File= line with too few fields");
  EXPECT_EQ(bad.readers.seen.size(), 2u);  // nothing after the bad section is read

  Loaded version(Replace(kGood, "2.67.1412", "3.0"));
  EXPECT_EQ(DescribeScriptLoadFailure(version.failure),
            "Version is not 2.67.1412 (line 1): 3.0");
}

TEST(ScriptLoad, LanguagesAreReadAndWrittenBack) {
  Loaded l(kGood);
  ASSERT_TRUE(l.ok);
  ASSERT_EQ(l.result.languages.size(), 2u);  // the short line is ignored
  LanguageEntry& en = l.result.languages[0];
  LanguageEntry& de = l.result.languages[1];
  EXPECT_EQ(en.id, 0x0409);
  EXPECT_EQ(en.flags, uint32_t(kLangHasDll | kLangOnSystem));
  EXPECT_EQ(de.id, 0x0407);
  EXPECT_EQ(de.flags, uint32_t(kLangHasDll));  // not on the system: asked, never read
  EXPECT_EQ(de.number, 2);
  EXPECT_EQ(de.ListText(), "Deutsch\tGerman");
  EXPECT_EQ(de.readme, "ReadmeDE");

  de.flags |= kLangUsed;
  de.dll = "C:\\Temp\\_Setup.dll";
  StoreLanguage(de);
  EXPECT_EQ(l.script.Section("Languages")->items[1]->key, "0407");
  EXPECT_EQ(l.script.Section("Languages")->GetText("0407"),
            "1073750016|2|German|Deutsch|C:\\Temp\\_Setup.dll|ReadmeDE|");
  EXPECT_EQ(l.script.Section("Languages")->GetText("040c"), "0|3|too few");
}
