#include "setup/ui/wizard_page.h"

#include "setup/engine/setup_engine.h"
#include "setup/ui/application_base.h"
#include "setup/ui/wizard_ids.h"
#include "setup/ui/wizard_rules.h"
#include "setup/ui/window_services.h"

namespace {

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(length > 0 ? length + 1 : 1, '\0');
  text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
  return text;
}

void SetBitmap(HWND control, HBITMAP bitmap) {
  if (control && bitmap) SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

HBITMAP ResourceBitmap(int id) {
  HMODULE module = FindResourceModule(reinterpret_cast<const char*>(RT_BITMAP), MAKEINTRESOURCEA(id));
  return module ? LoadBitmapA(module, MAKEINTRESOURCEA(id)) : nullptr;
}

}  // namespace

void FillTitleText(HWND control, const std::string& title) {
  if (!control) return;
  const std::string text = WindowText(control);
  if (text.find("%s") != std::string::npos) SetWindowTextA(control, FillText(text, {title}).c_str());
}

WizardPage::WizardPage(UINT id, DWORD buttonSet, SetupEngine& engine, WizardContext& context)
    : PropertyPageWindow(id), templateId(id), buttons(buttonSet), engine_(engine), context_(context) {}

const std::string& WizardPage::Title() const { return context_.app.title; }

bool WizardPage::OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) {
  WindowBase::OnInitDialog(focus, lParam, result);
  // Bitmaps shared by all pages; the resource ones are loaded once.
  static HBITMAP side = nullptr, header = nullptr;
  HBITMAP first = context_.bitmap1, second = context_.bitmap2;
  if (!first) first = side ? side : (side = ResourceBitmap(IDB_WIZARD1));
  if (!second) second = header ? header : (header = ResourceBitmap(IDB_WIZARD2));
  SetBitmap(Item(IDC_SIDE_BITMAP), first);
  SetBitmap(Item(IDC_HEADER_BITMAP), second);
  FillTitleText(window, Title());
  FillTitleText(Item(IDT_PAGE_TITLE), Title());
  FillTitleText(Item(IDT_PAGE_TEXT), Title());
  return true;
}

LRESULT WizardPage::OnSetActive() {
  flags &= ~kPageLeaving;
  if (!ExchangeData(false)) return -1;
  PostMessageA(Sheet(), PSM_SETWIZBUTTONS, 0, buttons);
  // The page's caption, with the title filled in, names the sheet; posted
  // so that it comes after the sheet's own caption change.
  if (window) {
    caption_ = WindowText(window);
    PostMessageA(Sheet(), PSM_SETTITLEA, 0, reinterpret_cast<LPARAM>(caption_.c_str()));
  }
  return 0;
}

LRESULT WizardPage::OnWizardBack() {
  flags |= kPageLeaving;
  return backPage;
}

LRESULT WizardPage::OnWizardNext() {
  if (!ExchangeData(true)) return -1;
  flags |= kPageLeaving;
  return nextPage;
}

bool WizardPage::OnWizardFinish() { return !ExchangeData(true); }

void WizardPage::ReplaceNextText(UINT stringId) {
  HWND next = GetDlgItem(Sheet(), 0x3024);
  std::string text;
  if (!next || !LoadStringText(stringId, text)) return;
  if (savedNextText_.empty()) savedNextText_ = WindowText(next);
  SetWindowTextA(next, text.c_str());
}

void WizardPage::RestoreNextText() {
  HWND next = GetDlgItem(Sheet(), 0x3024);
  if (!next || savedNextText_.empty()) return;
  SetWindowTextA(next, savedNextText_.c_str());
  savedNextText_.clear();
}

void WizardPage::Show(int id, bool visible) {
  if (HWND item = Item(id)) ShowWindow(item, visible ? SW_SHOW : SW_HIDE);
}

void WizardPage::ShowLink(int id, int labelId, const std::string& text, const std::string& target) {
  if (text.empty()) {
    Show(id, false);
    Show(labelId, false);
    return;
  }
  SetDlgItemTextA(window, id, (text + "\n" + target).c_str());
  auto link = std::make_unique<Hyperlink>();
  if (link->Create(window, id)) links_.push_back(std::move(link));
}

void WizardPage::ShowText(int id, int labelId, const std::string& text) {
  if (text.empty()) {
    Show(id, false);
    Show(labelId, false);
    return;
  }
  SetDlgItemTextA(window, id, text.c_str());
}
