// The text of setup's log: header, event entries and trace lines, and the
// size rule for an existing log. Pure formatting, no file access, so the
// exact line layouts are checked natively.
#pragma once

#include <cstdint>
#include <string>

namespace logfmt {

// An existing log longer than this is deleted before it is opened, so the
// log of many runs cannot grow without bound.
constexpr uint64_t kMaxKeptLogSize = 65536;
bool ShouldReplaceExistingLog(uint64_t existingSize);

// The log's file name: the executable's file name with its extension
// replaced by ".log" (appended when it has none). Takes a full path or a
// bare name; the folder part is dropped.
std::string LogFileNameFor(const char* modulePath);

// The four header lines, each ending in "\n".
std::string HeaderText();
// "2003-11-12 15:59:00 - C:\path\Setup.exe\n".
std::string TimeStampLine(unsigned year, unsigned month, unsigned day,
                          unsigned hour, unsigned minute, unsigned second,
                          const char* modulePath);

// "%08lX" and one "|text" per argument ("|" alone for a null one), "\n".
// A null argv counts as argc null arguments.
std::string EventLine(uint32_t code, int argc, const char* const* argv);

// Trace text is cut to this many characters before it is written.
constexpr size_t kMaxTraceText = 1024;

// "Trace" .. "Fatal" for 1..5, "Fatal" above, "---" below 1.
const char* TraceLevelName(int level);

// One trace line: "[Level]\ttext @ id(line)\n" when a level is set,
// "text @ id(line)\n" when only a position is set, else "text\n". Trailing
// white space of the text is removed first.
struct TracePosition {
  bool hasLevel = false;
  int level = 0;
  bool hasSource = false;
  uint32_t sourceId = 0;
  uint32_t line = 0;
};
std::string TraceLine(const TracePosition& at, const char* text);

}  // namespace logfmt
