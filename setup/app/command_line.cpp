#include "setup/app/command_line.h"

#include <climits>
#include <cstring>

namespace {

bool IsArgumentSpace(char c) {
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\b' || c == ' ';
}
bool IsQuote(char c) { return c == '"' || c == '\'' || c == '`'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
    if (!a[i]) return true;
  }
  return true;
}

// One argument from p on; p is left after it (and after a closing quote).
std::string NextArgument(const char*& p) {
  std::string out;
  if (IsQuote(*p)) {
    const char quote = *p++;
    while (*p && *p != quote) out += *p++;
    if (*p) ++p;
    return out;
  }
  while (*p && !IsArgumentSpace(*p)) out += *p++;
  return out;
}

void SkipSpace(const char*& p) {
  while (*p && IsArgumentSpace(*p)) ++p;
}

}  // namespace

std::vector<std::string> SplitArguments(const char* commandLine) {
  std::vector<std::string> arguments;
  if (!commandLine) return arguments;
  const char* p = commandLine;
  for (;;) {
    SkipSpace(p);
    if (!*p || arguments.size() == kMaxArguments) break;
    arguments.push_back(NextArgument(p));
  }
  return arguments;
}

std::string ArgumentsAfterProgram(const char* commandLine) {
  if (!commandLine) return std::string();
  const char* p = commandLine;
  SkipSpace(p);
  NextArgument(p);
  SkipSpace(p);
  return p;
}

int ReadSwitchNumber(const char* text, const char** end) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  while (*p >= '0' && *p <= '9') {
    // Saturate rather than overflow: "/B99999999999" is still "always".
    if (value < INT_MAX) value = value * 10 + (*p - '0');
    ++p;
  }
  if (value > INT_MAX) value = INT_MAX;
  if (end) *end = p;
  return int(negative ? -value : value);
}

void ReadArgument(const std::string& argument, CommandLine& settings) {
  const char* a = argument.c_str();
  if (*a != '/' && *a != '-') {
    settings.scriptPath = argument;
    return;
  }
  const char* rest = a + 1;  // after the switch character
  if (EqualNoCase(rest, "install", 7) && std::strlen(rest) >= 7) {
    settings.runMode = kRunInstall;
    if (rest[7] == ':') settings.folderArgument = rest + 8;
    return;
  }
  if (EqualNoCase(rest, "remove", 7)) {  // 7: the terminating NUL too, a whole word
    settings.runMode = kRunRemove;
    return;
  }
  if (EqualNoCase(rest, "register", 9)) {
    settings.runMode = kRunRegister;
    return;
  }
  const char* after = rest + (*rest ? 1 : 0);
  switch (Lower(*rest)) {
    case 'b':
      settings.restartMode = ReadSwitchNumber(after);
      break;
    case 'p':
      if (*after == ':') settings.password = after + 1;
      break;
    case 'q':
      settings.quietLevel = *after ? ReadSwitchNumber(after) : 1;
      break;
    case 'u': {
      const char* end = after;
      settings.upgradeLevel = ReadSwitchNumber(after, &end);
      if (*end == ':') settings.previousUninstallName = end + 1;
      break;
    }
    case 'x':
      settings.rollback = true;
      break;
    default:
      break;
  }
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine settings;
  for (const std::string& argument : arguments) ReadArgument(argument, settings);
  return settings;
}

CommandLine ParseCommandLine(const char* arguments) {
  // The program name took the first of the 63 places.
  std::vector<std::string> split = SplitArguments(arguments);
  if (split.size() > kMaxArguments - 1) split.resize(kMaxArguments - 1);
  return ParseCommandLine(split);
}
