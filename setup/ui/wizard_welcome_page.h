// Welcome page (64): maker, copyright and contact lines; leaving it runs
// the requirement and administrator checks.
#pragma once
#include "setup/ui/wizard_page.h"

class WizardWelcomePage : public WizardPage {
 public:
  WizardWelcomePage(SetupEngine& engine, WizardContext& context);
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  bool ExchangeData(bool save) override;
};
