#include "setup/ui/wizard_text_page.h"

#include "setup/ui/wizard_ids.h"

namespace {
// The script's lines end in "\n"; an edit control wants "\r\n".
std::string WithCarriageReturns(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}
}  // namespace

WizardTextPage::WizardTextPage(UINT id, std::string text, SetupEngine& engine, WizardContext& context)
    : WizardPage(id, PSWIZB_BACK | PSWIZB_NEXT, engine, context), text_(std::move(text)) {}

bool WizardTextPage::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  WizardPage::OnInitDialog(focus, lParam, result);
  SetDlgItemTextA(window, IDE_PAGE_TEXT, WithCarriageReturns(GetText()).c_str());
  return true;
}

LRESULT WizardTextPage::OnSetActive() {
  const LRESULT r = WizardPage::OnSetActive();
  if (r == 0 && templateId == IDD_LICENCE) ReplaceNextText(IDS_AGREE);
  return r;
}

bool WizardTextPage::OnKillActive() {
  const bool stay = WizardPage::OnKillActive();
  if (!stay) RestoreNextText();
  return stay;
}
