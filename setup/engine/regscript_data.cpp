#include "setup/engine/regscript_data.h"

#include <cstdio>

#include "setup/engine/script_text.h"

using scripttext::IsSpace;

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

static int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

static bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() &&
         scripttext::EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool ParseRegPrefix(std::string_view text, RegPrefix* prefix, std::string_view* rest) {
  *prefix = RegPrefix();
  if (text.empty() || text[0] != '\\') {
    *rest = text;
    return true;
  }
  size_t close = text.find('\\', 1);
  if (close == std::string_view::npos) return false;
  std::string_view body = text.substr(1, close - 1);
  auto fields = scripttext::SplitFields(body);
  if (fields.size() > 4) return false;
  for (size_t i = 0; i < fields.size(); ++i) {
    std::string_view f = fields[i];
    for (char c : f) {
      if (!IsDigit(c)) return false;
    }
    if (f.empty()) continue;  // keeps the default
    uint32_t v = scripttext::ParseUInt(f);
    switch (i) {
      case 0: prefix->flags = v; break;
      case 1: prefix->osFlags = v; break;
      case 2: prefix->mode = int(v); break;
      case 3: prefix->separator = int(v); break;
    }
  }
  *rest = text.substr(close + 1);
  return true;
}

std::string FormatRegPrefix(const RegPrefix& p) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "\\%lu|%lu|%d|%d\\", static_cast<unsigned long>(p.flags),
                static_cast<unsigned long>(p.osFlags), p.mode, p.separator);
  return buf;
}

static bool IsNameQuote(char c) { return c == '"' || c == '\'' || c == '`'; }

std::string_view RegValueName(std::string_view text) {
  if (text == "@") return std::string_view();
  if (!text.empty() && IsNameQuote(text.front())) {
    text.remove_prefix(1);
    if (!text.empty() && IsNameQuote(text.back())) text.remove_suffix(1);
  }
  return text;
}

// "text": backslash escapes \f \n \r \t, a backslash before anything else
// stands for that character; the final quote is dropped, inner unescaped
// quotes are kept. The result is NUL-terminated.
static RegDataStatus ParseString(std::string_view s, RegData* data) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"' && i + 1 == s.size()) break;
    if (c == '\\' && i + 1 < s.size()) {
      char e = s[++i];
      switch (e) {
        case 'f': c = 12; break;
        case 'n': c = 10; break;
        case 'r': c = 13; break;
        case 't': c = 9; break;
        default: c = e; break;
      }
    }
    if (n + 1 >= kRegDataMax) return kRegDataTooLong;  // room for the NUL
    data->bytes[n++] = uint8_t(c);
  }
  data->bytes[n++] = 0;
  data->type = 1;  // REG_SZ
  data->size = n;
  return kRegDataOk;
}

static RegDataStatus ParseDword(std::string_view s, RegData* data) {
  s = scripttext::Trim(s);
  if (s.empty() || s.size() > 8) return kRegDataBadDword;
  uint32_t v = 0;
  for (char c : s) {
    int h = HexValue(c);
    if (h < 0) return kRegDataBadDword;
    v = (v << 4) | uint32_t(h);
  }
  for (int i = 0; i < 4; ++i) data->bytes[i] = uint8_t(v >> (8 * i));
  data->type = 4;  // REG_DWORD
  data->size = 4;
  return kRegDataOk;
}

// Pairs of hex digits, each optionally followed by ','; white space between
// them is skipped; a final '\' continues the list on the next line.
static RegDataStatus ParseHexList(std::string_view s, const RegContinuation& more,
                                  RegData* data) {
  size_t n = 0;
  size_t i = 0;
  for (;;) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i == s.size()) break;
    if (s[i] == '\\') {
      for (size_t j = i + 1; j < s.size(); ++j) {
        if (!IsSpace(s[j])) return kRegDataBadHex;
      }
      std::string_view next;
      if (!more || !more(&next)) return kRegDataNoContinuation;
      s = next;
      i = 0;
      continue;
    }
    int hi = HexValue(s[i]);
    int lo = i + 1 < s.size() ? HexValue(s[i + 1]) : -1;
    if (hi < 0 || lo < 0) return kRegDataBadHex;
    if (n == kRegDataMax) return kRegDataTooLong;
    data->bytes[n++] = uint8_t(hi * 16 + lo);
    i += 2;
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i < s.size() && s[i] == ',') ++i;
  }
  data->size = n;
  return kRegDataOk;
}

RegDataStatus ParseRegData(std::string_view text, const RegContinuation& more, RegData* data) {
  data->type = 0;
  data->size = 0;
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  if (text.empty()) return kRegDataOk;  // REG_NONE without bytes
  if (text.front() == '"') return ParseString(text.substr(1), data);
  if (StartsWithNoCase(text, "dword:")) return ParseDword(text.substr(6), data);
  if (StartsWithNoCase(text, "hex:")) {
    RegDataStatus st = ParseHexList(text.substr(4), more, data);
    if (st == kRegDataOk) data->type = 3;  // REG_BINARY
    return st;
  }
  if (StartsWithNoCase(text, "hex(")) {
    std::string_view rest = text.substr(4);
    size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits])) ++digits;
    if (digits == 0 || digits > 10 || rest.substr(digits, 2) != "):") return kRegDataBadType;
    uint64_t type = 0;
    for (size_t i = 0; i < digits; ++i) type = type * 10 + uint64_t(rest[i] - '0');
    if (type > 0xFFFFFFFFu) return kRegDataBadType;
    RegDataStatus st = ParseHexList(rest.substr(digits + 2), more, data);
    if (st == kRegDataOk) data->type = uint32_t(type);
    return st;
  }
  return kRegDataUnknownForm;
}
