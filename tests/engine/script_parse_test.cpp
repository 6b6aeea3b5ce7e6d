#include <gtest/gtest.h>

#include "engine/script_test_util.h"
#include "setup/engine/script.h"
#include "setup/engine/script_text.h"

using scripttest::Parse;
using scripttest::Structure;

TEST(ScriptParse, GroupsSectionsAndItemsInOrder) {
  SetupScript s;
  Parse(s,
        "Version=2.67.1412\r\n"
        "\n"
        "[Install]\r\n"
        "  Options = 8  \r\n"
        "[Files]\n"
        "InstallDir=<AppFolder>\n"
        "[Files] trailing text\n"
        "InstallDir=<WinSysDir>\n"
        "[[Registry]]\n"
        "REGEDIT4\n"
        "[HKEY_LOCAL_MACHINE\\Software\\X]\n"
        "\"a\"=\"b\"\n"
        "[[Registry]\n"
        "[x");
  EXPECT_EQ(Structure(s),
            "G0\n"
            "  I{Version}={2.67.1412}\n"
            " S[Install]\n"
            "  I{Options}={ 8}\n"
            " S[Files]\n"
            "  I{InstallDir}={<AppFolder>}\n"
            " S[Files]\n"
            "  I{InstallDir}={<WinSysDir>}\n"
            "G[Registry]\n"
            "  I{REGEDIT4}\n"
            " S[HKEY_LOCAL_MACHINE\\Software\\X]\n"
            "  I{\"a\"}={\"b\"}\n"
            "G[Registry]\n"
            " S[x]\n");
}

// The item rule: split at the first '=', key trimmed on the right, value
// kept as written after it (the line's own ends trimmed).
TEST(ScriptParse, ItemLines) {
  struct Case {
    const char* line;
    const char* key;
    bool hasValue;
    const char* value;
  } cases[] = {
      {"a=b=c", "a", true, "b=c"},
      {"key   =  spaced value", "key", true, "  spaced value"},
      {"=just a value", "", true, "just a value"},
      {"  =indented value", "", true, "indented value"},
      {"; a comment", "; a comment", false, ""},
      {"bare key", "bare key", false, ""},
      {"empty=", "empty", true, ""},
      {"\tk=v \t\v\f", "k", true, "v"},
      {"a\rb=c", "ab", true, "c"},  // CR bytes are dropped anywhere
  };
  for (const auto& c : cases) {
    SetupScript s;
    Parse(s, std::string(c.line) + "\n");
    ASSERT_EQ(s.Main().leading.items.size(), 1u) << c.line;
    const ScriptItem& item = *s.Main().leading.items[0];
    EXPECT_EQ(item.key, c.key) << c.line;
    EXPECT_EQ(item.hasValue, c.hasValue) << c.line;
    EXPECT_EQ(item.value, c.value) << c.line;
  }
}

TEST(ScriptParse, BlankAndWhiteSpaceLinesAreIgnored) {
  SetupScript s;
  Parse(s, "\n\r\n  \t \n\v\f\nx=1\n   \n");
  EXPECT_EQ(Structure(s), "G0\n  I{x}={1}\n");
}

// A line longer than 4095 bytes continues as the next line; the piece
// after the cut is read like any line (here it even starts a section).
TEST(ScriptParse, LongLinesAreCutAt4095Bytes) {
  const std::string value(4095 - 2, 'v');
  SetupScript s;
  Parse(s, "k=" + value + "[Next]\nafter=1\n");
  EXPECT_EQ(Structure(s), "G0\n  I{k}={" + value + "}\n S[Next]\n  I{after}={1}\n");
  EXPECT_EQ(s.Section("Next")->line, 1u);  // still line 1 of the file
  EXPECT_EQ(s.Section("Next")->items[0]->line, 2u);

  // The same through the line interface, and exactly 4095 stays whole.
  SetupScript t;
  t.AddLine("k=" + value);
  t.AddLine("k=" + value + "x");
  ASSERT_EQ(t.Main().leading.items.size(), 3u);
  EXPECT_EQ(t.Main().leading.items[0]->value, value);
  EXPECT_EQ(t.Main().leading.items[2]->key, "x");
}

TEST(ScriptParse, LookupsIgnoreCaseAndTakeTheFirstMatch) {
  SetupScript s;
  Parse(s,
        "[files]\nID=1\nid=2\nFile=a\nFILE=b\n"
        "[FILES]\nID=3\n"
        "[Other]\n"
        "[Files]\nID=4\n"
        "[[registry]]\n[[REGISTRY]]\n");
  ScriptSection* first = s.Section("Files");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetText("Id"), "1");
  EXPECT_EQ(first->Find("file")->value, "a");

  std::vector<std::string> ids;
  for (ScriptSection* f = first; f; f = s.Main().NextSection(f)) ids.push_back(f->GetText("ID"));
  EXPECT_EQ(ids, (std::vector<std::string>{"1", "3", "4"}));

  ScriptGroup* g = s.FindGroup("Registry");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(s.NextGroup(g), s.Groups()[2].get());
  EXPECT_EQ(s.NextGroup(s.NextGroup(g)), nullptr);
  EXPECT_EQ(s.FindGroup(""), nullptr);  // group 0 has no name to find
  EXPECT_EQ(s.Section("Missing"), nullptr);
}

// A comment line is an item whose key no lookup names.
TEST(ScriptParse, CommentsAreItemsThatNoLookupMatches) {
  SetupScript s;
  Parse(s, "[Install]\n; Options=4\nOptions=8\n");
  EXPECT_EQ(s.Section("Install")->GetInt("Options", 0), 8);
  EXPECT_EQ(s.Section("Install")->items.size(), 2u);
}

TEST(ScriptParse, NumericReads) {
  struct Case {
    const char* value;
    int32_t asInt;
    uint32_t asUInt;
  } cases[] = {
      {"42", 42, 42},
      {"  \t17abc", 17, 17},
      {"-5", -5, 0},
      {"+7", 7, 0},
      {"0x10", 0, 0},
      {"", 0, 0},
      {"abc", 0, 0},
      {"- 5", 0, 0},
      {"4294967295", -1, 4294967295u},
      {"2147483648", INT32_MIN, 2147483648u},
      {"99999999999999999999", -1, 4294967295u},  // saturates, never wraps
      {"-99999999999999999999", INT32_MIN, 0},
  };
  for (const auto& c : cases) {
    SetupScript s;
    Parse(s, std::string("[S]\nn=") + c.value + "\n");
    EXPECT_EQ(s.Section("S")->GetInt("N", 99), c.asInt) << c.value;
    EXPECT_EQ(s.Section("S")->GetUInt("N", 99), c.asUInt) << c.value;
  }
  SetupScript s;
  Parse(s, "[S]\nbare\n");
  EXPECT_EQ(s.Section("S")->GetInt("missing", -3), -3);
  EXPECT_EQ(s.Section("S")->GetUInt("bare", 12), 12u);  // no '=': no value
  EXPECT_EQ(s.Section("S")->GetText("bare", "dflt"), "dflt");
}

TEST(ScriptParse, SetRemoveAndJoin) {
  SetupScript s;
  Parse(s, "[Readme]\n=Line one\n=\n=  Line three\n[S]\na=1\nb=2\na=3\n");
  EXPECT_EQ(s.Section("Readme")->JoinValues(), "Line one\r\n\r\n  Line three\r\n");

  ScriptSection* sec = s.Section("s");
  ScriptItem* a = sec->Find("a");
  EXPECT_EQ(sec->SetInt("A", -12), a);  // in place, first match
  EXPECT_EQ(a->value, "-12");
  sec->SetText("c", "new");
  EXPECT_TRUE(sec->Remove("b"));
  EXPECT_FALSE(sec->Remove("b"));
  EXPECT_EQ(Structure(s),
            "G0\n S[Readme]\n  I{}={Line one}\n  I{}={}\n  I{}={  Line three}\n"
            " S[S]\n  I{a}={-12}\n  I{a}={3}\n  I{c}={new}\n");
}
