// The text forms of registry script lines: prefixes, value names, data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/regscript_data.h"

namespace {

struct Parsed {
  RegDataStatus status;
  uint32_t type;
  std::string bytes;
};

// Parses `text`; `more` are the following lines a "\" list continues on.
Parsed Parse(const std::string& text, std::vector<std::string> more = {}) {
  size_t next = 0;
  RegContinuation cont = [&](std::string_view* line) {
    if (next >= more.size()) return false;
    *line = more[next++];
    return true;
  };
  auto data = std::make_unique<RegData>();
  RegDataStatus st = ParseRegData(text, cont, data.get());
  return {st, data->type, st == kRegDataOk ? std::string(reinterpret_cast<char*>(data->bytes), data->size) : ""};
}

std::string Sz(const std::string& s) { return s + std::string(1, '\0'); }

TEST(RegScriptData, EveryForm) {
  struct Case {
    const char* text;
    uint32_t type;
    std::string bytes;
  } cases[] = {
      {"", 0, ""},
      {"   ", 0, ""},
      {"\"English\"", 1, Sz("English")},
      {"\"\"", 1, Sz("")},
      {"\"no closing quote", 1, Sz("no closing quote")},
      {"\"a\"b\"", 1, Sz("a\"b")},  // only the final quote goes
      {"\"C:\\\\dir\\\\\"", 1, Sz("C:\\dir\\")},
      {"\"say \\\"hi\\\"\"", 1, Sz("say \"hi\"")},
      {"\"\\f\\n\\r\\t\\q\"", 1, Sz("\f\n\r\tq")},
      {"\"trailing\\\"", 1, Sz("trailing\"")},  // backslash-quote is a quote
      {"dword:0000001f", 4, std::string("\x1f\0\0\0", 4)},
      {"DWORD:12345678", 4, std::string("\x78\x56\x34\x12", 4)},
      {"dword: ff ", 4, std::string("\xff\0\0\0", 4)},
      {"hex:", 3, ""},
      {"hex:01,02,ff", 3, "\x01\x02\xff"},
      {"HEX:0a 0B,  0c,", 3, "\x0a\x0b\x0c"},
      {"hex(2):25,00", 2, std::string("%\0", 2)},
      {"hex(7):61,00,00", 7, std::string("a\0\0", 3)},
      {"Hex(12345):aa", 12345, "\xaa"},
  };
  for (const Case& c : cases) {
    Parsed p = Parse(c.text);
    EXPECT_EQ(p.status, kRegDataOk) << c.text;
    EXPECT_EQ(p.type, c.type) << c.text;
    EXPECT_EQ(p.bytes, c.bytes) << c.text;
  }
}

TEST(RegScriptData, MalformedDataIsNamed) {
  struct Case {
    const char* text;
    RegDataStatus status;
  } cases[] = {
      {"English", kRegDataUnknownForm},
      {"word:1", kRegDataUnknownForm},
      {"dword:", kRegDataBadDword},
      {"dword:123456789", kRegDataBadDword},  // more than 32 bits
      {"dword:12g4", kRegDataBadDword},
      {"hex:1", kRegDataBadHex},
      {"hex:01,,02", kRegDataBadHex},
      {"hex:0x01", kRegDataBadHex},
      {"hex:01\\02", kRegDataBadHex},  // "\" must end the line
      {"hex(:01", kRegDataBadType},
      {"hex(2:01", kRegDataBadType},
      {"hex(99999999999):01", kRegDataBadType},
      {"hex:01,\\", kRegDataNoContinuation},
  };
  for (const Case& c : cases) EXPECT_EQ(Parse(c.text).status, c.status) << c.text;
}

TEST(RegScriptData, ByteListContinuesOverLines) {
  Parsed p = Parse("hex:01,02,\\", {"03,04,\\", "05"});
  ASSERT_EQ(p.status, kRegDataOk);
  EXPECT_EQ(p.bytes, "\x01\x02\x03\x04\x05");
  // A continued hex(n) list keeps its type.
  p = Parse("hex(7):61,00,\\", {"62,00,00"});
  ASSERT_EQ(p.status, kRegDataOk);
  EXPECT_EQ(p.type, 7u);
  EXPECT_EQ(p.bytes, std::string("a\0b\0\0", 5));
}

std::string HexList(size_t bytes) {
  std::string s;
  for (size_t i = 0; i < bytes; ++i) s += i ? ",5a" : "5a";
  return s;
}

// 4096 bytes fill the buffer exactly; one more is refused, never cut or
// written past the buffer (the fuzz build checks the latter).
TEST(RegScriptData, BufferLimitIs4096Bytes) {
  Parsed p = Parse("hex:" + HexList(4096));
  EXPECT_EQ(p.status, kRegDataOk);
  EXPECT_EQ(p.bytes.size(), 4096u);
  EXPECT_EQ(Parse("hex:" + HexList(4097)).status, kRegDataTooLong);
  // The same across continuation lines.
  EXPECT_EQ(Parse("hex:" + HexList(2048) + ",\\", {HexList(2048)}).status, kRegDataOk);
  EXPECT_EQ(Parse("hex:" + HexList(2048) + ",\\", {HexList(2049)}).status, kRegDataTooLong);
  // A string keeps one byte for its terminator.
  EXPECT_EQ(Parse("\"" + std::string(4095, 'x') + "\"").status, kRegDataOk);
  EXPECT_EQ(Parse("\"" + std::string(4096, 'x') + "\"").status, kRegDataTooLong);
}

TEST(RegScriptPrefix, FieldsDefaultsAndMalformed) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t flags, os;
    int mode, sep;
    const char* rest;
  } cases[] = {
      {"HKLM\\Software", true, 3, 247, 1, 0, "HKLM\\Software"},
      {"\\3|247|1|59\\\"Path\"", true, 3, 247, 1, 59, "\"Path\""},
      {"\\2\\HKCU\\x", true, 2, 247, 1, 0, "HKCU\\x"},
      {"\\1073741825|15\\@", true, 0x40000001, 15, 1, 0, "@"},
      {"\\||2|\\a", true, 3, 247, 2, 0, "a"},
      {"\\3\\", true, 3, 247, 1, 0, ""},
      {"\\3|247", false, 0, 0, 0, 0, ""},          // never closed
      {"\\3|x\\a", false, 0, 0, 0, 0, ""},         // not a number
      {"\\1|2|3|4|5\\a", false, 0, 0, 0, 0, ""},   // five fields
      {"\\HKLM\\Software", false, 0, 0, 0, 0, ""}, // a root is no prefix
  };
  for (const Case& c : cases) {
    RegPrefix p;
    std::string_view rest;
    ASSERT_EQ(ParseRegPrefix(c.text, &p, &rest), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(p.flags, c.flags) << c.text;
    EXPECT_EQ(p.osFlags, c.os) << c.text;
    EXPECT_EQ(p.mode, c.mode) << c.text;
    EXPECT_EQ(p.separator, c.sep) << c.text;
    EXPECT_EQ(rest, c.rest) << c.text;
  }
  RegPrefix p;
  p.flags = 1;
  p.separator = 59;
  EXPECT_EQ(FormatRegPrefix(p), "\\1|247|1|59\\");
}

TEST(RegScriptPrefix, ValueNames) {
  EXPECT_EQ(RegValueName("@"), "");
  EXPECT_EQ(RegValueName("\"Language\""), "Language");
  EXPECT_EQ(RegValueName("'single'"), "single");
  EXPECT_EQ(RegValueName("`mixed\""), "mixed");
  EXPECT_EQ(RegValueName("\"open"), "open");
  EXPECT_EQ(RegValueName("plain name"), "plain name");
  EXPECT_EQ(RegValueName("\"@\""), "@");
}

}  // namespace
