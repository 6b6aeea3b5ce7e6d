#include "ui_test_support.h"

TestApplication::TestApplication() {
  Initialise(GetModuleHandleA(nullptr), "", SW_SHOWNORMAL);
}

int TestApplication::ReportException(cException&) {
  ++exceptionReports;
  return exceptionAnswer;
}

int TestApplication::ReportUnknownException() {
  ++unknownReports;
  return unknownAnswer;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs)
      return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs - elapsed, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}
