// The run's own hooks while a window shows the progress: everything is
// passed on, and the [Action] titles also become the window's status line.
#pragma once

#include <string>

#include "setup/engine/install_run.h"
#include "setup/ui/wizard_progress_sink.h"

class ProgressRunHooks : public RunHooks {
 public:
  ProgressRunHooks(RunHooks& inner, WindowProgressSink& progress) : inner_(inner), progress_(progress) {}
  void Notify(int message) override { inner_.Notify(message); }
  bool RunActions(uint32_t phase) override { return inner_.RunActions(phase); }
  bool HasActions(uint32_t phase) override { return inner_.HasActions(phase); }
  void ProgressText(const std::string& text) override {
    inner_.ProgressText(text);
    progress_.Status(text);
  }

 protected:
  RunHooks& inner_;
  WindowProgressSink& progress_;
};
