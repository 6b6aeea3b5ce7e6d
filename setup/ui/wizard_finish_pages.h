// The last pages: completed (70), with the restart question or the offer
// to start the application and show its readme; cancelled (71), with the
// choice to remove the partial installation. Neither has Back or Cancel.
#pragma once
#include "setup/ui/wizard_page.h"

class WizardCompletedPage : public WizardPage {
 public:
  WizardCompletedPage(SetupEngine& engine, WizardContext& context);
  LRESULT OnSetActive() override;
  bool ExchangeData(bool save) override;
};

class WizardCancelledPage : public WizardPage {
 public:
  WizardCancelledPage(SetupEngine& engine, WizardContext& context);
  LRESULT OnSetActive() override;
  bool ExchangeData(bool save) override;
};
