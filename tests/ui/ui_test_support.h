// Shared pieces of the window framework tests: a test application whose
// exception reports are counted, and waiting for the message queue.
#pragma once
#include <windows.h>

#include <functional>

#include "setup/ui/application_base.h"

class TestApplication : public ApplicationBase {
 public:
  TestApplication();
  int ReportException(cException& e) override;
  int ReportUnknownException() override;

  int exceptionReports = 0;
  int unknownReports = 0;
  int exceptionAnswer = 5;  // goes on
  int unknownAnswer = 3;    // ends the run
};

// Handles this thread's messages until done() is true; false when it was
// still false after timeoutMs of waiting.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
