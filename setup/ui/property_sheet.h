// Property pages and sheets over the common controls, bound like every other
// framework window. Pages behave as dialogs (flag 0x8) and turn the sheet's
// PSN notifications into virtual operations; the sheet can run modal or
// modeless (the wizard runs modeless under the application's loop).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "setup/ui/window_base.h"

// Private messages to the sheet: a page became active (the sheet records
// the tab index), and a modeless sheet should go once the current
// notification has returned.
constexpr UINT kSheetPageActivated = WM_USER + 200;
constexpr UINT kSheetDestroyLater = WM_USER + 201;

class PropertyPageWindow : public WindowBase {
 public:
  // The page's template: a resource id, found in the resource module or the
  // program module.
  explicit PropertyPageWindow(UINT templateId);

  PROPSHEETPAGEA page;
  HPROPSHEETPAGE handle = nullptr;

  // Makes the page handle; null on failure.
  HPROPSHEETPAGE Create();
  HWND Sheet() const;

  bool OnNotify(UINT id, NMHDR* header, LRESULT& result) override;

  // Page callback events.
  virtual void OnPageAddRef();
  virtual bool OnPageCreate();
  virtual void OnPageRelease();
  // Sheet notifications; "refuse" answers keep the page or the sheet.
  virtual void OnApply();
  virtual void OnReset();
  virtual bool OnQueryCancel();
  virtual LRESULT OnSetActive();
  virtual bool OnKillActive();
  virtual void OnHelp();
  virtual LRESULT OnWizardBack();
  virtual LRESULT OnWizardNext();
  virtual bool OnWizardFinish();

  static UINT CALLBACK PageCallback(HWND, UINT message, LPPROPSHEETPAGEA page);

 private:
  void CloseModelessSheet();
};

class PropertySheetWindow : public WindowBase {
 public:
  PropertySheetWindow();

  PROPSHEETHEADERA header;
  std::vector<HPROPSHEETPAGE> pages;
  int activeIndex = 0;

  // Before the sheet exists the page joins the list; afterwards the sheet.
  bool AddPage(PropertyPageWindow& page);

  // The sheet window, or null.
  virtual HWND RunModeless(HWND parent);
  // The sheet's result, or -1.
  virtual INT_PTR RunModal(HWND parent);
  // The sheet's dialog template, before the sheet is made from it.
  virtual void OnPreCreate(DLGTEMPLATE* dialogTemplate);
  virtual void OnInitialised();

  void EndDialog(INT_PTR result) override;
  bool PreTranslateMessage(MSG& msg) override;
  bool OnSysCommand(UINT command, int x, int y) override;
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result) override;

  bool modeless() const { return (header.dwFlags & PSH_MODELESS) != 0; }

  static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam);

 private:
  INT_PTR Run(HWND parent, bool asModeless);
};
