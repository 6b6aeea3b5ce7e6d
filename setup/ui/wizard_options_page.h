// Options page (68): the installation folder with the space it needs and
// the space its disk has, and the three shortcut places.
#pragma once
#include <cstdint>
#include <string>

#include "setup/ui/wizard_page.h"

class WizardOptionsPage : public WizardPage {
 public:
  WizardOptionsPage(SetupEngine& engine, WizardContext& context);
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(UINT code, UINT id, HWND control) override;
  bool ExchangeData(bool save) override;
  bool OnKillActive() override;

 private:
  std::string Folder() const;
  void RefreshAvailable();
  void Browse();
  void RestoreDefaults();
  // Shows a 305-style question about the folder; false keeps the page
  // with the folder selected.
  bool ConfirmFolder(UINT stringId, const std::string& folder);

  uint64_t required_ = 0;
  uint64_t available_ = 0;
  std::string lastRoot_;
  bool rootKnown_ = false;
};
