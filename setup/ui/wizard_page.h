// WizardPage: one page of the install wizard. Every page shares the engine
// and the wizard context; navigation goes by template ids (back page, next
// page) and each page enables its own set of wizard buttons.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/ui/hyperlink.h"
#include "setup/ui/property_sheet.h"
#include "setup/ui/wizard.h"

class SetupEngine;

class WizardPage : public PropertyPageWindow {
 public:
  // buttons: PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH as the page needs.
  WizardPage(UINT templateId, DWORD buttons, SetupEngine& engine, WizardContext& context);

  UINT templateId;
  DWORD buttons;
  int backPage = -1;
  int nextPage = -1;

  // The common init: bitmaps, the title in the caption and in the "%s" of
  // the title and text controls.
  bool OnInitDialog(HWND focus, LPARAM lParam, LRESULT& result) override;
  LRESULT OnSetActive() override;
  LRESULT OnWizardBack() override;
  LRESULT OnWizardNext() override;
  bool OnWizardFinish() override;
  // The text for the page's edit control (readme and licence pages).
  virtual std::string GetText() { return std::string(); }

 protected:
  // Shows text on the sheet's Next button while the page is active; the
  // old text comes back when RestoreNextText is called.
  void ReplaceNextText(UINT stringId);
  void RestoreNextText();
  // A hyperlink control with "text\ntarget", hidden with its label when
  // text is empty.
  void ShowLink(int id, int labelId, const std::string& text, const std::string& target);
  // A plain text control, hidden with its label when text is empty.
  void ShowText(int id, int labelId, const std::string& text);
  void Show(int id, bool visible);
  HWND Item(int id) const { return GetDlgItem(window, id); }
  const std::string& Title() const;

  SetupEngine& engine_;
  WizardContext& context_;

 private:
  std::string savedNextText_;
  std::string caption_;
  std::vector<std::unique_ptr<Hyperlink>> links_;
};

// Fills "%s" of a control's text with the application title.
void FillTitleText(HWND control, const std::string& title);
