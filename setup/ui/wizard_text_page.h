// Readme (65) and licence (66) pages: the script's text in a read-only
// box. The licence page shows "Agree >" on the Next button while active.
#pragma once
#include "setup/ui/wizard_page.h"

class WizardTextPage : public WizardPage {
 public:
  WizardTextPage(UINT templateId, std::string text, SetupEngine& engine, WizardContext& context);
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  LRESULT OnSetActive() override;
  bool OnKillActive() override;
  std::string GetText() override { return text_; }

 private:
  std::string text_;
};
