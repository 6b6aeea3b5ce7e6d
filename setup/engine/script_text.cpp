#include "setup/engine/script_text.h"

namespace scripttext {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  return TrimRight(s);
}

static char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Digits from s[i] on, saturating at 0xFFFFFFFF.
static uint32_t ParseDigits(std::string_view s, size_t i) {
  uint64_t v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    v = v * 10 + uint64_t(s[i] - '0');
    if (v > 0xFFFFFFFFu) v = 0xFFFFFFFFu;
  }
  return uint32_t(v);
}

static size_t SkipSpace(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  return i;
}

int32_t ParseInt(std::string_view s) {
  size_t i = SkipSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    negative = s[i] == '-';
    ++i;
  }
  uint32_t magnitude = ParseDigits(s, i);
  if (!negative) return int32_t(magnitude);
  if (magnitude > 0x80000000u) magnitude = 0x80000000u;
  return int32_t(0u - magnitude);
}

uint32_t ParseUInt(std::string_view s) { return ParseDigits(s, SkipSpace(s)); }

std::vector<std::string_view> SplitFields(std::string_view s) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t bar = s.find('|', start);
    if (bar == std::string_view::npos) {
      fields.push_back(s.substr(start));
      return fields;
    }
    fields.push_back(s.substr(start, bar - start));
    start = bar + 1;
  }
}

}  // namespace scripttext
