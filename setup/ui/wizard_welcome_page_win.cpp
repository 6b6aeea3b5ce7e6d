#include "setup/ui/wizard_welcome_page.h"

#include "setup/engine/setup_engine.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_requirements.h"

WizardWelcomePage::WizardWelcomePage(SetupEngine& engine, WizardContext& context)
    : WizardPage(IDD_WELCOME, PSWIZB_NEXT, engine, context) {}

bool WizardWelcomePage::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  WizardPage::OnInitDialog(focus, lParam, result);
  SetDlgItemTextA(window, IDT_COMPANY, engine_.Expand(engine_.Symbols().Value(kSymCompany)).c_str());
  SetDlgItemTextA(window, IDT_COPYRIGHT, engine_.Expand(engine_.Symbols().Value(kSymCopyright)).c_str());
  const InstallSettings& install = engine_.Install();
  std::string site, email, telephone;
  if (install.Has(kOptShowWebSite)) site = engine_.Expand(engine_.Symbols().Value(kSymWebSite));
  if (install.Has(kOptShowEmail)) email = engine_.Expand(engine_.Symbols().Value(kSymEmail));
  if (install.Has(kOptShowTelephone)) telephone = engine_.Expand(engine_.Symbols().Value(kSymTelephone));
  ShowLink(IDL_WEB_SITE, IDT_WEB_SITE_LABEL, site, site);
  ShowLink(IDL_EMAIL, IDT_EMAIL_LABEL, email, "mailto:" + email);
  ShowText(IDT_TELEPHONE, IDT_TELEPHONE_LABEL, telephone);
  return true;
}

bool WizardWelcomePage::ExchangeData(bool save) {
  if (!save) return true;
  return CheckRequirements(engine_, context_.app, false, context_.notifyExtension) &&
         CheckAdministrator(engine_, context_.app, false);
}
