// The engine's run hooks as setup joins them: extension notifications go
// to the ExtensionHost, phases to the [Action] items, status texts to the
// progress window.
#pragma once

#include <functional>
#include <string>

#include "setup/app/extension_host.h"
#include "setup/app/program_action.h"
#include "setup/engine/install_run.h"

class AppRunHooks : public RunHooks {
 public:
  AppRunHooks(ExtensionHost* extension, ProgramActions* actions)
      : extension_(extension), actions_(actions) {}
  void SetStatusText(std::function<void(const std::string&)> show) { status_ = std::move(show); }

  void Notify(int message) override {
    if (extension_) extension_->Notify(uint32_t(message));
  }
  bool RunActions(uint32_t phase) override { return !actions_ || actions_->RunPhase(phase); }
  bool HasActions(uint32_t phase) override { return actions_ && actions_->HasActions(phase); }
  void ProgressText(const std::string& text) override {
    if (status_) status_(text);
  }

 private:
  ExtensionHost* extension_;
  ProgramActions* actions_;
  std::function<void(const std::string&)> status_;
};
