// The quiet run's progress window (dialog 73): the title, a bar from 0 to
// 1000 and a status line. It starts the work as soon as it exists and
// closes when the work is done, which ends the program. At quiet level 2
// it exists but is never shown.
#pragma once
#include <windows.h>

#include "setup/ui/dialog.h"
#include "setup/ui/wizard_progress_sink.h"

class ProgressDialog : public Dialog {
 public:
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy() override;

 private:
  WindowProgressSink sink_;
  bool started_ = false;
};
