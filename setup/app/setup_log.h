// SetupLog: setup's plain-text log in the temporary folder (Setup.log
// beside a Setup.exe). Event entries are "%08lX" codes with "|" arguments;
// trace lines carry a level and the source position set just before them.
#pragma once

#include <cstdint>
#include <initializer_list>

// Areas and levels of the event codes 0xLLSSNNNN.
enum : uint32_t {
  kLogTrace = 0x01000000,
  kLogInfo = 0x02000000,
  kLogWarn = 0x03000000,
  kLogError = 0x04000000,
};

// Trace levels: 1 Trace, 2 Info, 3 Warn, 4 Error, 5 Fatal.
enum TraceLevel { kTrace = 1, kInfo = 2, kWarn = 3, kError = 4, kFatal = 5 };

class SetupLog {
 public:
  static SetupLog& Instance();

  // One event entry; a null argument writes nothing after its "|".
  // False when the log cannot be opened (the entry is dropped).
  bool Event(uint32_t code, std::initializer_list<const char*> args = {});
  bool Event(uint32_t code, int argc, const char* const* argv);

  // Trace lines: level and source position apply to the next line only.
  void SetLevel(int level);
  void SetSource(uint32_t sourceId, uint32_t line);
  void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // [Install] Options bit 0x4000: delete the log when the process ends.
  void SetDeleteAtExit(bool on);
  // Closes the log (deleting it when asked to); the next entry reopens it.
  void Close();
  // Full path of the log file (empty before the first entry).
  const char* Path() const;

 private:
  SetupLog();
  ~SetupLog();
  SetupLog(const SetupLog&) = delete;
  SetupLog& operator=(const SetupLog&) = delete;
  bool Open();
  bool Write(const char* text);

  struct Impl;
  Impl* impl_;
};

// Trace at a level from here: KV_TRACE(kWarn, "cannot open %s", path).
// Each source file defines KV_SOURCE_ID, a fixed number of its own.
#define KV_TRACE(level, ...)                                   \
  do {                                                         \
    SetupLog::Instance().SetLevel(level);                      \
    SetupLog::Instance().SetSource(KV_SOURCE_ID, __LINE__);    \
    SetupLog::Instance().Trace(__VA_ARGS__);                   \
  } while (0)
