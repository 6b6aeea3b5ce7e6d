// File= lines and [Files] sections: parsing, write-back through the
// engine's script, and the language list.
#include <gtest/gtest.h>

#include <memory>

#include "setup/engine/expand.h"
#include "setup/engine/file_item.h"
#include "setup/engine/file_section.h"
#include "setup/engine/os_flags.h"
#include "setup/engine/script_load.h"
#include "setup/engine/setup_engine.h"

namespace {

const char kScript[] =
    "Version=2.67.1412\n"
    "[Symbols]\n"
    "AppFolder=1|255|C:\\Apps\\Kelvo\n"
    "AppTitle=2|255|Kelvo\n"
    "Sub=-1|255|bin\n"
    "[Files]\n"
    "InstallDir=<AppFolder>\\\\<Sub>\\\n"
    "ID=7\n"
    "File=kelvo.exe|1000|3|2|0|0=kelvo.exe|0|-1|240|32||\n"
    "File=sub\\<Sub>.dll|20|1|1|2|129=x.dll|0|-1|247|0|Font Name|=1033=1031\n"
    "[Files]\n"
    "InstallDir=C:\\Other\n"
    "File=a.txt|5|0|0|0|0=a.txt|0|-1|15|0||\n";

std::unique_ptr<SetupEngine> Loaded(const std::string& text, uint32_t os = osflags::kWinXP) {
  auto engine = std::make_unique<SetupEngine>(os, std::make_unique<NoSymbolLookups>());
  ScriptLoadFailure failure;
  EXPECT_TRUE(engine->LoadScript(text.data(), text.size(), "Setup.ini", &failure))
      << DescribeScriptLoadFailure(failure);
  return engine;
}

TEST(FileLine, ParsesEveryField) {
  FileItem item;
  ASSERT_TRUE(ParseFileLine("s\\x.dll|123|2147483649|-7|2|0x84=T.dll|-3|9|15|33|Arial|x=1033", &item));
  EXPECT_EQ(item.source, "s\\x.dll");
  EXPECT_EQ(item.size, 123u);
  EXPECT_EQ(item.flags, 0x80000001u);
  EXPECT_EQ(item.replaceRule, -7);
  EXPECT_EQ(item.shared, 2);
  EXPECT_EQ(item.registration, 0);  // "0x84": decimal reading stops at x
  EXPECT_EQ(item.targetName, "T.dll");
  EXPECT_EQ(item.status, -3);
  EXPECT_EQ(item.reserved, 9);
  EXPECT_EQ(item.osFlags, 15u);
  EXPECT_EQ(item.attributes, 33u);
  EXPECT_EQ(item.fontName, "Arial");
  EXPECT_EQ(item.languages, "x=1033");
}

TEST(FileLine, FewerThanTwelveFieldsRejectsTheScript) {
  FileItem item;
  EXPECT_FALSE(ParseFileLine("a|1|1|0|0|0=a|0|-1|247|0|", &item));
  const std::string bad = std::string(kScript) + "[Files]\nInstallDir=C:\\X\nFile=a|1|1\n";
  SetupEngine engine(osflags::kWinXP, std::make_unique<NoSymbolLookups>());
  ScriptLoadFailure failure;
  EXPECT_FALSE(engine.LoadScript(bad.data(), bad.size(), "Setup.ini", &failure));
  EXPECT_EQ(failure.error, ScriptLoadError::kBadSection);
  EXPECT_TRUE(engine.FileSections().empty());
}

TEST(FileLine, SectionWithoutInstallDirRejectsTheScript) {
  const std::string bad = std::string(kScript) + "[Files]\nFile=a|1|1|0|0|0=a|0|-1|247|0||\n";
  SetupEngine engine(osflags::kWinXP, std::make_unique<NoSymbolLookups>());
  ScriptLoadFailure failure;
  EXPECT_FALSE(engine.LoadScript(bad.data(), bad.size(), "Setup.ini", &failure));
  EXPECT_EQ(failure.error, ScriptLoadError::kFilesWithoutInstallDir);
}

TEST(FileLine, WriteBackKeepsUnprocessedLinesAndRecordsTargets) {
  auto engine = Loaded(kScript);
  auto& sections = engine->FileSections();
  ASSERT_EQ(sections.size(), 2u);
  ASSERT_EQ(sections[0]->items.size(), 2u);
  EXPECT_EQ(sections[0]->id, 7);

  // Not processed: the source as written comes back unchanged.
  engine->StoreFiles();
  EXPECT_NE(engine->Script().ToText().find("File=kelvo.exe|1000|3|2|0|0=kelvo.exe|0|-1|240|32||\r\n"),
            std::string::npos);

  // Processed: the full target, the expanded and cleaned folder.
  FileItem& dll = *sections[0]->items[1];
  ASSERT_TRUE(engine->ResolveTarget(*sections[0], dll));
  EXPECT_EQ(dll.target, "C:\\Apps\\Kelvo\\bin\\bin.dll");
  EXPECT_EQ(dll.temp, "C:\\Apps\\Kelvo\\bin\\bin.dll.$$$");
  dll.status = kFileReplaced;
  engine->StoreFiles();
  const std::string text = engine->Script().ToText();
  EXPECT_NE(text.find("InstallDir=C:\\Apps\\Kelvo\\bin\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ID=7\r\n"), std::string::npos);
  EXPECT_NE(text.find("File=C:\\Apps\\Kelvo\\bin\\bin.dll|20|1|1|2|129=x.dll|2|-1|247|0|Font Name|=1033=1031\r\n"),
            std::string::npos)
      << text;

  // A removal run reads the saved line back to the same target.
  auto again = Loaded(text);
  FileItem& back = *again->FileSections()[0]->items[1];
  ASSERT_TRUE(again->ResolveTarget(*again->FileSections()[0], back));
  EXPECT_EQ(back.target, dll.target);
  EXPECT_EQ(back.status, kFileReplaced);
}

TEST(FileLine, WildcardsSurviveTargetCleaning) {
  auto engine = Loaded(std::string(kScript) + "[Files]\nInstallDir=C:\\W\nFile=*.t?p|0|16|0|0|0=|0|-1|247|0||\n");
  auto& section = *engine->FileSections()[2];
  ASSERT_TRUE(engine->ResolveTarget(section, *section.items[0]));
  EXPECT_EQ(section.items[0]->target, "C:\\W\\*.t?p");
  EXPECT_TRUE(section.items[0]->HasWildcard());
}

TEST(FileLine, ApplicabilityByOsAndLanguage) {
  auto engine = Loaded(kScript, osflags::kWin98);
  auto& s = engine->FileSections();
  // 240 on 98: other OS; the 9x-only line applies.
  EXPECT_EQ(engine->CheckApplicability(*s[0]->items[0], false), kFileOtherOs);
  EXPECT_EQ(engine->CheckApplicability(*s[1]->items[0], false), 0);
  // No language chosen: the list is not consulted.
  EXPECT_EQ(engine->CheckApplicability(*s[0]->items[1], false), 0);
  engine->SetLanguageId(1031);
  EXPECT_EQ(engine->CheckApplicability(*s[0]->items[1], false), 0);
  engine->SetLanguageId(1036);
  EXPECT_EQ(engine->CheckApplicability(*s[0]->items[1], false), kFileOtherLanguage);
  // Installed lines keep their status.
  s[0]->items[1]->status = kFileInstalledNew;
  EXPECT_EQ(engine->CheckApplicability(*s[0]->items[1], false), kFileInstalledNew);
  // Required size: the 98 line and the installed one; the NT line is out.
  EXPECT_EQ(engine->RequiredSize(), 25u);
}

TEST(FileLine, LanguageList) {
  struct Case { const char* list; uint32_t id; bool listed; };
  const Case cases[] = {
      {"=1033=1031", 1031, true}, {"=1033=1031", 1033, true}, {"=1033=1031", 103, false},
      {"ignored 1036=1033", 1036, false}, {"x=1033;1049", 1049, true}, {"", 1033, false},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageListed(c.list, c.id), c.listed) << c.list << " " << c.id;
  EXPECT_TRUE(LanguageListEmpty(""));
  EXPECT_TRUE(LanguageListEmpty("text="));
  EXPECT_FALSE(LanguageListEmpty("=1033"));
}

}  // namespace
