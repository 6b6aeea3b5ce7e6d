// [Environment] lines on the NT registry (in memory) and on AUTOEXEC.BAT
// text, and the list-element removal they share with INI and registry.
#include <gtest/gtest.h>

#include <string>

#include "registry_fake.h"
#include "regscript_test_util.h"
#include "setup/engine/environment.h"
#include "setup/engine/regscript_list.h"
#include "setup/engine/script_io.h"

namespace {

using kvtest::FakeRegistry;
using kvtest::FixedContext;
using kvtest::TextScript;

constexpr RegRoot kLM = RegRoot::kLocalMachine;

TEST(RegScriptList, RemovesOneWholeElement) {
  struct Case {
    const char* list;
    const char* element;
    char sep;
    const char* after;
  } cases[] = {
      {"c:\\a;c:\\b", "c:\\b", ';', "c:\\a"},         // last: the separator before it
      {"c:\\b;c:\\a", "C:\\B", ';', "c:\\a"},         // first: the one after it; no case
      {"x;c:\\b;y", "c:\\b", ';', "x;y"},
      {"c:\\b", "c:\\b", ';', ""},
      {"c:\\bb;c:\\b", "c:\\b", ';', "c:\\bb"},       // not the text inside c:\bb
      {"c:\\bb;d", "c:\\b", ';', "c:\\bb;d"},         // no whole element: unchanged
      {"x;y;x", "x", ';', "y;x"},                     // first occurrence only
      {"abcdef", "cd", 0, "abef"},                    // no separator: anywhere
  };
  for (const Case& c : cases) {
    std::string list = c.list;
    bool removed = RemoveListElement(&list, c.element, c.sep);
    EXPECT_EQ(list, c.after) << c.list << " - " << c.element;
    EXPECT_EQ(removed, std::string(c.list) != c.after) << c.list;
  }
}

// Appending never makes an empty first element: the same rule for the
// registry script, the environment and INI values.
TEST(RegScriptList, AppendsAfterTheSeparatorOnlyToSomething) {
  EXPECT_EQ(AppendListElement("c:\\a", ';', "c:\\b"), "c:\\a;c:\\b");
  EXPECT_EQ(AppendListElement("", ';', "c:\\b"), "c:\\b");
  EXPECT_EQ(AppendListElement("ab", 0, "cd"), "abcd");
}

TEST(EnvironmentLine, ParseAndFormat) {
  EnvironmentLine l;
  ASSERT_TRUE(ParseEnvironmentLine("0|240|2|59|0|<AppFolder>", &l));
  EXPECT_EQ(l.osFlags, 240u);
  EXPECT_EQ(l.mode, 2);
  EXPECT_EQ(l.separator, 59);
  EXPECT_EQ(l.value, "<AppFolder>");
  l.applied = 1;
  EXPECT_EQ(FormatEnvironmentLine(l), "0|240|2|59|1|<AppFolder>");
  EXPECT_TRUE(ParseEnvironmentLine("0|255|1|0|0|a|b", &l));
  EXPECT_EQ(l.value, "a|b");
  EXPECT_FALSE(ParseEnvironmentLine("0|255|1|0|0|", &l));  // no value
  EXPECT_FALSE(ParseEnvironmentLine("0|255|1|0", &l));
}

std::string EnvScript(const std::string& lines) { return "[Environment]\r\n" + lines; }

ScriptSection& Env(TextScript& s) { return *s.script.Section("Environment"); }

TEST(EnvironmentRegistry, ModesApplyAndUndo) {
  FakeRegistry reg;
  reg.PutString(kLM, kEnvironmentKeyPath, "Path", "%SystemRoot%\\system32", kRegExpandSz);
  reg.PutString(kLM, kEnvironmentKeyPath, "KEEP", "theirs");
  reg.PutString(kLM, kEnvironmentKeyPath, "OLD", "old");
  const auto before = reg.Snapshot();
  TextScript s(EnvScript(
      "Path=0|255|2|59|0|<AppFolder>\r\n"
      "KEEP=0|255|0|0|0|mine\r\n"
      "KVHOME=0|255|1|0|0|<AppFolder>\r\n"
      "KVTMP=0|255|1|0|0|%TEMP%\\kv\r\n"
      "KVRAW=1073741824|255|1|0|0|<AppFolder>\r\n"
      "NINEX=0|15|1|0|0|x\r\n"
      "EMPTY=0|255|1|0|0|\r\n"));
  FixedContext ctx;
  EnvironmentPass p = ApplyEnvironmentRegistry(Env(s), reg, ctx);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.linesDone, 4);
  EXPECT_TRUE(p.scriptChanged);
  EXPECT_EQ(reg.Text(kLM, kEnvironmentKeyPath, "Path"),
            "%SystemRoot%\\system32;C:\\Program Files\\Kelvo");
  EXPECT_EQ(reg.Get(kLM, kEnvironmentKeyPath, "Path")->type, kRegExpandSz);
  EXPECT_EQ(reg.Text(kLM, kEnvironmentKeyPath, "KEEP"), "theirs");
  EXPECT_EQ(reg.Get(kLM, kEnvironmentKeyPath, "KVHOME")->type, kRegSz);
  EXPECT_EQ(reg.Get(kLM, kEnvironmentKeyPath, "KVTMP")->type, kRegExpandSz);
  EXPECT_EQ(reg.Text(kLM, kEnvironmentKeyPath, "KVRAW"), "<AppFolder>");
  EXPECT_EQ(reg.Get(kLM, kEnvironmentKeyPath, "NINEX"), nullptr);
  // Applied lines say so; the mode 0 line that found a value does not.
  ScriptSection& env = Env(s);
  EXPECT_EQ(env.GetText("Path"), "0|255|2|59|1|<AppFolder>");
  EXPECT_EQ(env.GetText("KEEP"), "0|255|0|0|0|mine");

  // Removal reads the saved script.
  TextScript saved(s.script.ToText());
  p = UndoEnvironmentRegistry(Env(saved), reg, ctx);
  EXPECT_EQ(p.linesDone, 4);
  EXPECT_EQ(reg.Snapshot(), before);
}

TEST(EnvironmentRegistry, AppendNeedsAStringAndKeyMustOpen) {
  FakeRegistry reg;
  reg.Put(kLM, kEnvironmentKeyPath, "NUM", kRegDword, std::string("\1\0\0\0", 4));
  TextScript s(EnvScript("NUM=0|255|2|59|0|x\r\n"));
  FixedContext ctx;
  EnvironmentPass p = ApplyEnvironmentRegistry(Env(s), reg, ctx);
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.linesDone, 0);
  EXPECT_EQ(reg.Get(kLM, kEnvironmentKeyPath, "NUM")->type, kRegDword);
  reg.failCreate = true;
  EXPECT_FALSE(ApplyEnvironmentRegistry(Env(s), reg, ctx).ok);
}

std::string Lines(const SetupScript& doc) { return doc.ToText(); }

TEST(EnvironmentAutoexec, SetLinesApplyAndUndo) {
  const std::string original =
      "@ECHO OFF\r\n"
      "PATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"
      "set temp=C:\\TEMP\r\n"
      "SET BLASTER=A220\r\n";
  SetupScript doc;
  LoadScriptMemory(doc, original.data(), original.size());
  TextScript s(EnvScript(
      "PATH=0|15|2|59|0|<AppFolder>\r\n"
      "TEMP=0|15|0|0|0|C:\\OTHER\r\n"
      "KVHOME=0|15|1|0|0|<AppFolder>\r\n"
      "BLASTER=0|15|2|32|0|T6\r\n"));
  FixedContext ctx(0x02);  // 98
  EnvironmentPass p = ApplyEnvironmentAutoexec(Env(s), doc, ctx);
  EXPECT_EQ(p.linesDone, 3);
  EXPECT_EQ(Lines(doc),
            "@ECHO OFF\r\n"
            "SET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;C:\\Program Files\\Kelvo\r\n"
            "set temp=C:\\TEMP\r\n"
            "SET BLASTER=A220 T6\r\n"
            "SET KVHOME=C:\\Program Files\\Kelvo\r\n"
            "\r\n");
  TextScript saved(s.script.ToText());
  p = UndoEnvironmentAutoexec(Env(saved), doc, ctx);
  EXPECT_EQ(p.linesDone, 3);
  EXPECT_EQ(Lines(doc),
            "@ECHO OFF\r\n"
            "SET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n"
            "set temp=C:\\TEMP\r\n"
            "SET BLASTER=A220\r\n"
            "\r\n");
}

TEST(EnvironmentAutoexec, MissingFileGetsSetLinesWhichGoAgain) {
  SetupScript doc;
  TextScript s(EnvScript("PATH=0|15|2|59|0|C:\\KV\r\n"));
  FixedContext ctx(0x02);
  ApplyEnvironmentAutoexec(Env(s), doc, ctx);
  EXPECT_EQ(Lines(doc), "SET PATH=C:\\KV\r\n\r\n");
  TextScript saved(s.script.ToText());
  UndoEnvironmentAutoexec(Env(saved), doc, ctx);
  EXPECT_EQ(Lines(doc), "");
}

}  // namespace
