#include "setup/ui/wizard.h"

#include <vector>

#include "setup/engine/setup_engine.h"
#include "setup/ui/wizard_finish_pages.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_options_page.h"
#include "setup/ui/wizard_progress_page.h"
#include "setup/ui/wizard_sheet.h"
#include "setup/ui/wizard_text_page.h"
#include "setup/ui/wizard_welcome_page.h"

namespace {

// Links each page to the one before it and makes its handle. Pages whose
// handle exists are deleted by the framework when released; the others
// here.
class PageChain {
 public:
  ~PageChain() {
    if (!handedOver_)
      for (WizardPage* page : pages_) DestroyPropertySheetPage(page->handle);
  }

  bool Add(WizardPage* page) {
    if (!page->Create()) {
      delete page;
      return false;
    }
    if (!pages_.empty()) {
      page->backPage = static_cast<int>(pages_.back()->templateId);
      pages_.back()->nextPage = static_cast<int>(page->templateId);
    }
    pages_.push_back(page);
    return true;
  }

  // Gives the handles to the sheet, which destroys them from now on.
  bool HandOver(WizardSheet& sheet) {
    for (WizardPage* page : pages_)
      if (!sheet.AddPage(*page)) return false;
    handedOver_ = true;
    return true;
  }

 private:
  std::vector<WizardPage*> pages_;
  bool handedOver_ = false;
};

}  // namespace

std::unique_ptr<WizardSheet> CreateInstallWizard(SetupEngine& engine, WizardContext& context) {
  auto sheet = std::make_unique<WizardSheet>(engine, context);
  const LoadedScript& loaded = engine.Loaded();
  {
    PageChain chain;
    if (!chain.Add(new WizardWelcomePage(engine, context))) return nullptr;
    if (!loaded.readme.empty() && !chain.Add(new WizardTextPage(IDD_README, loaded.readme, engine, context)))
      return nullptr;
    if (!loaded.licence.empty() &&
        !chain.Add(new WizardTextPage(IDD_LICENCE, loaded.licence, engine, context)))
      return nullptr;
    if (!chain.Add(new WizardOptionsPage(engine, context)) || !chain.Add(new WizardProgressPage(engine, context)) ||
        !chain.Add(new WizardCompletedPage(engine, context)) || !chain.Add(new WizardCancelledPage(engine, context)))
      return nullptr;
    if (!chain.HandOver(*sheet)) return nullptr;
  }
  if (!sheet->RunModeless(nullptr)) return nullptr;
  return sheet;
}
