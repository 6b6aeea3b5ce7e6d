#include "setup/app/log_format.h"

#include <cstdio>
#include <cstring>

namespace logfmt {

namespace {

const char kSeparator[] =
    "=============================================================================="
    "\n";
static_assert(sizeof(kSeparator) == 78 + 2, "separator is 78 '=' and LF");

bool IsTrailingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
         c == '\f';
}

}  // namespace

bool ShouldReplaceExistingLog(uint64_t existingSize) {
  return existingSize > kMaxKeptLogSize;
}

std::string LogFileNameFor(const char* modulePath) {
  std::string name = modulePath ? modulePath : "";
  const size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + ".log";
}

std::string HeaderText() {
  std::string text = kSeparator;
  text += "Brannoc Installer 2.67.1412 (build 2003.11.12.1559)\n";
  text += "Copyright (C) 1999-2003 Quorlan Soft. All rights reserved.\n";
  text += kSeparator;
  return text;
}

std::string TimeStampLine(unsigned year, unsigned month, unsigned day,
                          unsigned hour, unsigned minute, unsigned second,
                          const char* modulePath) {
  char stamp[64];
  snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u - ", year,
           month, day, hour, minute, second);
  std::string line = stamp;
  line += modulePath ? modulePath : "";
  line += '\n';
  return line;
}

std::string EventLine(uint32_t code, int argc, const char* const* argv) {
  char hex[16];
  snprintf(hex, sizeof(hex), "%08lX", static_cast<unsigned long>(code));
  std::string line = hex;
  for (int i = 0; i < argc; ++i) {
    line += '|';
    if (argv && argv[i]) line += argv[i];
  }
  line += '\n';
  return line;
}

const char* TraceLevelName(int level) {
  static const char* const kNames[] = {"Trace", "Info", "Warn", "Error",
                                       "Fatal"};
  if (level < 1) return "---";
  if (level > 5) return "Fatal";
  return kNames[level - 1];
}

std::string TraceLine(const TracePosition& at, const char* text) {
  std::string body = text ? text : "";
  if (body.size() > kMaxTraceText) body.resize(kMaxTraceText);
  size_t end = body.size();
  while (end > 0 && IsTrailingSpace(body[end - 1])) --end;
  body.resize(end);

  char where[48];
  snprintf(where, sizeof(where), " @ %lu(%lu)",
           static_cast<unsigned long>(at.sourceId),
           static_cast<unsigned long>(at.line));
  std::string line;
  if (at.hasLevel) {
    line = std::string("[") + TraceLevelName(at.level) + "]\t" + body + where;
  } else if (at.hasSource) {
    line = body + where;
  } else {
    line = body;
  }
  line += '\n';
  return line;
}

}  // namespace logfmt
