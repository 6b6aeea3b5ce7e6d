// cException: setup's one exception type, thrown by value and caught by
// reference for internal failures (out of memory and the like). Reporting
// logs it and decides, from how often it has been reported, whether the
// run goes on.
#pragma once

#include <cstdint>
#include <string>

// Code of internal failures raised by setup itself.
constexpr uint32_t kInternalFailureCode = 0xC7AA000A;
// System exception raised when an allocation fails.
constexpr uint32_t kOutOfMemoryException = 0xC7AA000B;

// Kinds: 0 and 1 informational, 2 warning, 3 fatal, anything else an error.
enum : uint32_t {
  kExceptionInfo = 0,
  kExceptionNote = 1,
  kExceptionWarning = 2,
  kExceptionFatal = 3,
};

class cException {
 public:
  // Takes the next sequence number of the process (the first is 1).
  cException(uint32_t kind, uint32_t code, uint32_t sourceId,
             uint32_t sourceLine);

  // Throws a fatal cException with the internal failure code.
  [[noreturn]] static void raise(uint32_t sourceId, uint32_t sourceLine);

  uint32_t kind;
  uint32_t state = 0;  // 0 new, raised to 1..4 by reporting
  uint32_t code;
  uint32_t sourceId;
  uint32_t sourceLine;
  uint32_t reportId = 0;
  uint32_t reportLine = 0;
  uint32_t sequence;
};

// What reporting an exception decides. The action codes are those of the
// message loop: 3 ends the run, any other lets it go on.
enum ExceptionAction {
  kActionContinueFatal = 2,  // states 0 and 3
  kActionTerminate = 3,      // state 4
  kActionContinueNote = 4,   // state 2
  kActionContinueInfo = 5,   // state 1
};

struct ExceptionReport {
  int traceLevel;       // kInfo .. kFatal
  std::string text;     // "X#seq - code (0xcode) @ id(line) => old state"
  int action;
};

// The state machine alone: advances e (recording the reporting position on
// its first report) and says what to log and do.
ExceptionReport AdvanceException(cException& e, uint32_t reportId,
                                 uint32_t reportLine);

// Advances e and writes its trace line to the log at the reporting
// position; returns the action.
int ReportException(cException& e, uint32_t reportId, uint32_t reportLine);
// Anything that is not a cException ends the run.
int ReportUnknownException();
