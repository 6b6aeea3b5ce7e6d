#include "setup/app/setup_exception.h"

#include <cstdio>

#include "setup/app/setup_log.h"

namespace {
uint32_t g_lastSequence = 0;
}

cException::cException(uint32_t kind_, uint32_t code_, uint32_t sourceId_,
                       uint32_t sourceLine_)
    : kind(kind_),
      code(code_),
      sourceId(sourceId_),
      sourceLine(sourceLine_),
      sequence(++g_lastSequence) {}

void cException::raise(uint32_t sourceId, uint32_t sourceLine) {
  throw cException(kExceptionFatal, kInternalFailureCode, sourceId,
                   sourceLine);
}

ExceptionReport AdvanceException(cException& e, uint32_t reportId,
                                 uint32_t reportLine) {
  const uint32_t before = e.state;
  ExceptionReport r;
  switch (e.kind) {
    case kExceptionInfo:
    case kExceptionNote: r.traceLevel = kInfo; break;
    case kExceptionWarning: r.traceLevel = kWarn; break;
    case kExceptionFatal: r.traceLevel = kFatal; break;
    default: r.traceLevel = kError; break;
  }
  char text[128];
  snprintf(text, sizeof(text), "X#%lu - %lu (0x%08lX) @ %lu(%lu) => %d",
           static_cast<unsigned long>(e.sequence),
           static_cast<unsigned long>(e.code),
           static_cast<unsigned long>(e.code),
           static_cast<unsigned long>(e.sourceId),
           static_cast<unsigned long>(e.sourceLine), static_cast<int>(before));
  r.text = text;

  if (before == 0) {
    e.reportId = reportId;
    e.reportLine = reportLine;
    e.state = e.kind <= kExceptionFatal ? e.kind + 1 : 4;
  } else {
    e.state = e.state < 4 ? e.state + 1 : 4;
  }

  switch (e.state) {
    case 1: r.action = kActionContinueInfo; break;
    case 2: r.action = kActionContinueNote; break;
    case 4: r.action = kActionTerminate; break;
    default: r.action = kActionContinueFatal; break;
  }
  return r;
}

int ReportException(cException& e, uint32_t reportId, uint32_t reportLine) {
  const ExceptionReport r = AdvanceException(e, reportId, reportLine);
  SetupLog& log = SetupLog::Instance();
  log.SetLevel(r.traceLevel);
  log.SetSource(reportId, reportLine);
  log.Trace("%s", r.text.c_str());
  return r.action;
}

int ReportUnknownException() { return kActionTerminate; }
