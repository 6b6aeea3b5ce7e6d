// Progress page (69): runs the installation once it is shown, then moves
// on by itself to the completed (70) or the cancelled page (71). Cancel
// only asks; the engine stops at its next poll.
#pragma once
#include "setup/ui/wizard_page.h"

class WizardProgressPage : public WizardPage {
 public:
  WizardProgressPage(SetupEngine& engine, WizardContext& context);
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  void OnDestroy() override;
  LRESULT OnSetActive() override;
  bool OnCommand(UINT code, UINT id, HWND control) override;
  bool OnQueryCancel() override;

 private:
  void RunInstallation();
  bool started_ = false;
};
